#include "reminders/AlamPage.h"

#include "common/UException.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QMenu>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <iterator>

namespace {

struct TColumn {
    const char* caption;
    int width;
    Qt::Alignment alignment;
};

const TColumn kColumns[] = {
    {"ID", 1, Qt::AlignLeft},        {"重复频率", 100, Qt::AlignLeft}, {"提醒时间", 180, Qt::AlignHCenter},
    {"内容", 420, Qt::AlignHCenter}, {"状态", 80, Qt::AlignHCenter},
};

const char* const kViews[] = {"全部提醒", "今天", "明天", "错过", "每天", "每周", "每月"};

} // namespace

TAlamPage::TAlamPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TAlamPage"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    m_lv1 = new QTreeWidget(this);
    m_lv1->setObjectName(QStringLiteral("lv1"));
    m_lv1->setRootIsDecorated(false);
    m_lv1->setItemsExpandable(false);
    m_lv1->setUniformRowHeights(true);
    m_lv1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lv1->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lv1->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lv1->setAllColumnsShowFocus(true);
    m_lv1->setToolTip(QStringLiteral("点右键可以新建、修改和删除提醒"));
    // Grid lines between the cells of the report.
    m_lv1->setStyleSheet(QStringLiteral("QTreeWidget#lv1::item { border-right: 1px solid #d8dce2; "
                                        "border-bottom: 1px solid #d8dce2; }"));
    QFont listFont = m_lv1->font();
    listFont.setPixelSize(16);
    m_lv1->setFont(listFont);
    m_lv1->setColumnCount(int(std::size(kColumns)));
    auto* header = new QTreeWidgetItem;
    for (int i = 0; i < int(std::size(kColumns)); ++i) {
        header->setText(i, QString::fromUtf8(kColumns[i].caption));
        header->setTextAlignment(i, kColumns[i].alignment | Qt::AlignVCenter);
    }
    m_lv1->setHeaderItem(header);
    m_lv1->header()->setMinimumSectionSize(1);
    m_lv1->header()->setStretchLastSection(false);
    for (int i = 0; i < int(std::size(kColumns)); ++i)
        m_lv1->setColumnWidth(i, kColumns[i].width);
    layout->addWidget(m_lv1, 1);

    m_rgAlam = new QGroupBox(this);
    m_rgAlam->setObjectName(QStringLiteral("rgAlam"));
    auto* grid = new QGridLayout(m_rgAlam);
    grid->setContentsMargins(8, 4, 8, 4);
    m_rgAlamItems = new QButtonGroup(m_rgAlam);
    m_rgAlamItems->setObjectName(QStringLiteral("rgAlamItems"));
    // Eight columns, so the seven items stand in one row.
    for (int i = 0; i < int(std::size(kViews)); ++i) {
        auto* item = new QRadioButton(QString::fromUtf8(kViews[i]), m_rgAlam);
        item->setObjectName(QStringLiteral("rgAlamItem%1").arg(i));
        m_rgAlamItems->addButton(item, i);
        grid->addWidget(item, i / 8, i % 8);
    }
    grid->setColumnStretch(7, 1);
    m_rgAlamItems->button(0)->setChecked(true);
    layout->addWidget(m_rgAlam);

    m_pmAlam = new QMenu(this);
    m_pmAlam->setObjectName(QStringLiteral("pmAlam"));
    m_NAddAlam = m_pmAlam->addAction(QStringLiteral("新建提醒"));
    m_NAddAlam->setObjectName(QStringLiteral("NAddAlam"));
    m_NModAlam = m_pmAlam->addAction(QStringLiteral("修改"));
    m_NModAlam->setObjectName(QStringLiteral("NModAlam"));
    m_NDelAlam = m_pmAlam->addAction(QStringLiteral("删除"));
    m_NDelAlam->setObjectName(QStringLiteral("NDelAlam"));
    // Disabled until the page's behaviour is connected (TAlamCommands).
    for (QAction* action : m_pmAlam->actions())
        action->setEnabled(false);
    m_lv1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_lv1, &QWidget::customContextMenuRequested, this,
            Guarded([this](const QPoint& pos) { m_pmAlam->popup(m_lv1->viewport()->mapToGlobal(pos)); }));
}

int TAlamPage::ItemIndex() const {
    return m_rgAlamItems->checkedId();
}

void TAlamPage::SetItemIndex(int index) {
    if (QAbstractButton* item = m_rgAlamItems->button(index)) item->setChecked(true);
}
