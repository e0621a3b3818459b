#include "reminders/AlamContext.h"

#include "common/StatusPanels.h"
#include "common/UException.h"
#include "common/UntPublic.h"
#include "reminders/AddAlamContext.h"
#include "reminders/AlamLists.h"
#include "reminders/ModAlamContext.h"
#include "reminders/UntAlamContext.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QShowEvent>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

TFormAlamContext::TFormAlamContext(QWidget* parent) : TFormBaseDlg(parent) {
    setObjectName(QStringLiteral("TFormAlamContext"));
    setWindowTitle(QStringLiteral("预设提醒内容"));
    auto* layout = new QVBoxLayout(pnlClient());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_lv1 = new QTreeWidget(pnlClient());
    m_lv1->setObjectName(QStringLiteral("lv1"));
    m_lv1->setRootIsDecorated(false);
    m_lv1->setItemsExpandable(false);
    m_lv1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lv1->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lv1->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lv1->setAllColumnsShowFocus(true);
    m_lv1->setToolTip(QStringLiteral("点右键可以新建、修改和是删除提醒内容"));
    m_lv1->setStyleSheet(QStringLiteral("QTreeWidget#lv1::item { border-right: 1px solid #d8dce2; "
                                        "border-bottom: 1px solid #d8dce2; }"));
    m_lv1->setColumnCount(2);
    auto* header = new QTreeWidgetItem;
    header->setText(0, QStringLiteral("ID"));
    header->setText(1, QStringLiteral("预设提醒内容"));
    header->setTextAlignment(1, Qt::AlignHCenter | Qt::AlignVCenter);
    m_lv1->setHeaderItem(header);
    m_lv1->header()->setMinimumSectionSize(0);
    m_lv1->header()->setStretchLastSection(false);
    m_lv1->setColumnWidth(0, 0);
    m_lv1->setColumnWidth(1, 460);
    layout->addWidget(m_lv1, 1);

    m_statHint = new TStatusPanels(pnlClient());
    m_statHint->setObjectName(QStringLiteral("statHint"));
    m_statHint->AddPanel(QString(), 50);
    layout->addWidget(m_statHint);

    m_pmContext = new QMenu(this);
    m_pmContext->setObjectName(QStringLiteral("pmContext"));
    m_NAddContext = m_pmContext->addAction(QStringLiteral("新建"));
    m_NAddContext->setObjectName(QStringLiteral("NAddContext"));
    m_NModContext = m_pmContext->addAction(QStringLiteral("修改"));
    m_NModContext->setObjectName(QStringLiteral("NModContext"));
    m_NDelContext = m_pmContext->addAction(QStringLiteral("删除"));
    m_NDelContext->setObjectName(QStringLiteral("NDelContext"));
    m_lv1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_lv1, &QWidget::customContextMenuRequested, this,
            Guarded([this](const QPoint& pos) { m_pmContext->popup(m_lv1->viewport()->mapToGlobal(pos)); }));
    connect(m_NAddContext, &QAction::triggered, this, Guarded([this] { NAddContextClick(); }));
    connect(m_NModContext, &QAction::triggered, this, Guarded([this] { NModContextClick(); }));
    connect(m_NDelContext, &QAction::triggered, this, Guarded([this] { NDelContextClick(); }));
    connect(m_lv1, &QTreeWidget::itemDoubleClicked, this, Guarded([this] { lv1DblClick(); }));

    m_tmrHint = new QTimer(this);
    m_tmrHint->setObjectName(QStringLiteral("tmrHint"));
    m_tmrHint->setInterval(200);
    connect(m_tmrHint, &QTimer::timeout, this, Guarded([this] { tmrHintTimer(); }));
    m_tmrHint->start();

    resize(480, 340);
}

void TFormAlamContext::showEvent(QShowEvent* e) {
    TFormBaseDlg::showEvent(e);
    Guard([&] {
        if (m_filled || e->spontaneous()) return;
        m_filled = true;
        FillList(*gAlamContext, m_lv1);
    });
}

namespace {

const char* const kHint = "点右键可以新建、修改和删除预设提醒内容";

// The hint counts a character beyond ASCII as two bytes, as the status bars' tickers do; only whole
// characters show.
QString TypedHint(int bytes, bool* whole) {
    const QString hint = QString::fromUtf8(kHint);
    int end = 0;
    int shown = 0;
    for (QChar c : hint) {
        end += c.unicode() < 0x80 ? 1 : 2;
        if (end > bytes) break;
        ++shown;
    }
    *whole = shown == int(hint.size());
    return hint.left(shown);
}

} // namespace

void TFormAlamContext::tmrHintTimer() {
    bool whole = false;
    TypedHint(m_hintBytes, &whole);
    if (whole) {
        // The whole hint has stood for one tick: empty the panel and start again.
        m_hintBytes = 0;
        m_statHint->SetPanelText(0, QString());
        return;
    }
    ++m_hintBytes;
    m_statHint->SetPanelText(0, TypedHint(m_hintBytes, &whole));
}

void TFormAlamContext::NAddContextClick() {
    if (ShowAddAlamContext() == QDialog::Accepted) FillList(*gAlamContext, m_lv1);
}

void TFormAlamContext::NModContextClick() {
    QTreeWidgetItem* item = m_lv1->selectedItems().value(0);
    if (!item) return;
    if (ShowModAlamContext(item->text(0), item->text(1)) == QDialog::Accepted) FillList(*gAlamContext, m_lv1);
}

void TFormAlamContext::NDelContextClick() {
    QTreeWidgetItem* item = m_lv1->selectedItems().value(0);
    if (!item) return;
    if (!AskYesNo(QStringLiteral("你确定要删除你选择的内容吗?"))) return;
    gAlamContext->Delete(item->text(0));
    delete item;
}

void TFormAlamContext::btnOKClick() {
    QTreeWidgetItem* item = m_lv1->selectedItems().value(0);
    if (!item) {
        ShowInfo(QStringLiteral("请先选择一条预设提醒内容!"));
        return;
    }
    ChosenText = item->text(1);
    accept();
}

void TFormAlamContext::lv1DblClick() {
    btnOKClick();
}

int ShowAlamContext(QString& text) {
    TFormAlamContext form;
    const int result = form.exec();
    if (result == QDialog::Accepted) text = form.ChosenText;
    return result;
}
