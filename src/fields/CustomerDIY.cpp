#include "fields/CustomerDIY.h"

#include "common/BaseDlg.h"
#include "common/NamedAction.h"
#include "common/UException.h"
#include "common/UntPublic.h"
#include "common/WindowMessages.h"
#include "controls/ListView.h"
#include "fields/AddTitle.h"
#include "fields/BaseDIY.h"
#include "fields/ModTitle.h"
#include "fields/UntTitle.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setMinimumSize(64, 27);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TFormCustomerDIY::TFormCustomerDIY(QWidget* parent)
    : QDialog(parent ? parent : qobject_cast<QWidget*>(MainWindowTarget()),
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                  Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("TFormCustomerDIY"));
    setWindowTitle(QStringLiteral("自定义商品资料"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    pnlTop = new QFrame(this);
    pnlTop->setObjectName(QStringLiteral("pnlTop"));
    pnlTop->setFrameShape(QFrame::Panel);
    pnlTop->setFrameShadow(QFrame::Raised);
    pnlTop->setFixedHeight(41);
    auto* top = new QHBoxLayout(pnlTop);
    top->setContentsMargins(6, 6, 6, 6);
    btnNew = MakeButton(pnlTop, "btnNew", QStringLiteral("新建"));
    btnModify = MakeButton(pnlTop, "btnModify", QStringLiteral("修改"));
    btnDelete = MakeButton(pnlTop, "btnDelete", QStringLiteral("删除"));
    btnPreview = MakeButton(pnlTop, "btnPreview", QStringLiteral("预览"));
    btnExit = MakeButton(pnlTop, "btnExit", QStringLiteral("退出"));
    for (QPushButton* b : {btnNew, btnModify, btnDelete, btnPreview})
        top->addWidget(b);
    top->addStretch(1);
    top->addWidget(btnExit);
    layout->addWidget(pnlTop);

    lv1 = new QTreeWidget(this);
    lv1->setObjectName(QStringLiteral("lv1"));
    lv1->setRootIsDecorated(false);
    lv1->setSelectionMode(QAbstractItemView::SingleSelection);
    lv1->setSelectionBehavior(QAbstractItemView::SelectRows);
    lv1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lv1->setUniformRowHeights(true);
    lv1->setAllColumnsShowFocus(true);
    lv1->setStyleSheet(QStringLiteral("QTreeView::item { border-right: 1px solid #d0d0d0; "
                                      "border-bottom: 1px solid #d0d0d0; }"));
    lv1->setHeaderLabels({QStringLiteral("标题名称"), QStringLiteral("类型"), QStringLiteral("默认值"),
                          QStringLiteral("必填"), QStringLiteral("是否唯一")});
    const int widths[] = {120, 80, 150, 60, 70};
    for (int i = 0; i < 5; ++i)
        lv1->header()->resizeSection(i, widths[i]);
    lv1->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(lv1, 1);

    pm1 = new QMenu(this);
    pm1->setObjectName(QStringLiteral("pm1"));
    actNew = AddNamedAction(pm1, "actNew", QStringLiteral("新建"));
    actModify = AddNamedAction(pm1, "actModify", QStringLiteral("修改"));
    actDelete = AddNamedAction(pm1, "actDelete", QStringLiteral("删除"));
    pm1->addSeparator();
    actPreview = AddNamedAction(pm1, "actPreview", QStringLiteral("预览"));

    connect(btnNew, &QPushButton::clicked, this, Guarded([this] { btnNewClick(); }));
    connect(btnModify, &QPushButton::clicked, this, Guarded([this] { btnModifyClick(); }));
    connect(btnDelete, &QPushButton::clicked, this, Guarded([this] { btnDeleteClick(); }));
    connect(btnPreview, &QPushButton::clicked, this, Guarded([this] { btnPreviewClick(); }));
    connect(btnExit, &QPushButton::clicked, this, &QDialog::reject);
    connect(actNew, &QAction::triggered, this, Guarded([this] { btnNewClick(); }));
    connect(actModify, &QAction::triggered, this, Guarded([this] { btnModifyClick(); }));
    connect(actDelete, &QAction::triggered, this, Guarded([this] { btnDeleteClick(); }));
    connect(actPreview, &QAction::triggered, this, Guarded([this] { btnPreviewClick(); }));
    connect(lv1, &QTreeWidget::itemDoubleClicked, this, Guarded([this] { btnModifyClick(); }));
    connect(lv1, &QWidget::customContextMenuRequested, this,
            Guarded([this](const QPoint& pos) { pm1->popup(lv1->viewport()->mapToGlobal(pos)); }));
    resize(532, 398);
}

void TFormCustomerDIY::showEvent(QShowEvent* event) {
    Guard([&] {
        QDialog::showEvent(event);
        if (m_filled || event->spontaneous()) return;
        m_filled = true;
        CenterOnMainWindow(this);
        FillList();
    });
}

void TFormCustomerDIY::FillList() {
    FillListView(QStringLiteral("select TitleName,TitleType,TitleValues,iif(Titlebt,'是','否') ,  "
                                "iif(Titlewy,'是','否') from AppTitle  "),
                 lv1);
    // The kind is stored as its number; the list shows its name.
    for (int i = 0; i < lv1->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = lv1->topLevelItem(i);
        bool ok = false;
        const int kind = item->text(1).toInt(&ok);
        if (ok && kind >= 0 && kind < TitleKindCount && item->text(1) == QString::number(kind))
            item->setText(1, TitleKindName(kind));
    }
}

void TFormCustomerDIY::btnNewClick() {
    if (!ShowAddTitle()) return;
    m_changed = true;
    FillList();
}

void TFormCustomerDIY::btnModifyClick() {
    QTreeWidgetItem* item = lv1->currentItem();
    if (!item || !item->isSelected()) return;
    if (!ShowModTitle(item->text(0))) return;
    m_changed = true;
    FillList();
}

void TFormCustomerDIY::btnDeleteClick() {
    QTreeWidgetItem* item = lv1->currentItem();
    if (!item || !item->isSelected()) return;
    const QString name = item->text(0);
    if (!AskYesNo(QStringLiteral("真的删除 %1 标题吗?你做的操作将无法还原！").arg(name))) return;
    RemoveTitle(name);
    delete item;
    m_changed = true;
}

void TFormCustomerDIY::btnPreviewClick() {
    ShowBaseDIY();
}

void TFormCustomerDIY::done(int result) {
    Guard([&] {
        if (m_changed && !m_posted) {
            m_posted = true;
            PostToMainWindow(WM_REFRESHGOODS);
        }
    });
    QDialog::done(result);
}

void ShowCustomerDIY() {
    TFormCustomerDIY dlg;
    dlg.exec();
}
