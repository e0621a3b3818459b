#include "goods/GoodsPage.h"

#include "common/NamedAction.h"
#include "common/StatusPanels.h"
#include "common/UException.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

TGoodsPage::TGoodsPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TGoodsPage"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_toolBar1 = new QToolBar(this);
    m_toolBar1->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar1->setIconSize(QSize(32, 32));
    m_toolBar1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toolBar1->setMovable(false);
    m_toolButtonHY =
        AddToolButton("ToolButtonHY", QStringLiteral("自定义商品资料"), QStyle::SP_FileDialogDetailedView);
    m_toolBar1->addSeparator();
    m_toolButtonCZ = AddToolButton("ToolButtonCZ", QStringLiteral("商品进货"), QStyle::SP_ArrowDown);
    m_toolBar1->addSeparator();
    m_btn4 = AddToolButton("btn4", QStringLiteral("商品出货"), QStyle::SP_ArrowUp);
    m_toolBar1->addSeparator();
    m_btn6 = AddToolButton("btn6", QStringLiteral("商品盘点"), QStyle::SP_DialogApplyButton);
    m_toolBar1->addSeparator();
    m_btn8 = AddToolButton("btn8", QStringLiteral("进出货查询"), QStyle::SP_FileDialogContentsView);
    layout->addWidget(m_toolBar1);

    m_splitter1 = new QSplitter(Qt::Horizontal, this);
    m_splitter1->setObjectName(QStringLiteral("Splitter1"));
    m_splitter1->setChildrenCollapsible(false);
    layout->addWidget(m_splitter1, 1);
    BuildLeft();
    BuildRight();
    m_splitter1->setStretchFactor(0, 0);
    m_splitter1->setStretchFactor(1, 1);
    m_splitter1->setSizes({217, 583});
    BuildMenus();
}

QToolButton* TGoodsPage::AddToolButton(const char* name, const QString& caption,
                                       QStyle::StandardPixmap icon) {
    auto* button = new QToolButton(m_toolBar1);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setIcon(style()->standardIcon(icon));
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    // The windows these buttons open come separately; whoever connects a button enables it.
    button->setEnabled(false);
    m_toolBar1->addWidget(button);
    return button;
}

void TGoodsPage::BuildLeft() {
    auto* left = new QWidget(m_splitter1);
    left->setObjectName(QStringLiteral("pnlGoodsTree"));
    auto* layout = new QVBoxLayout(left);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_tv1 = new QTreeWidget(left);
    m_tv1->setObjectName(QStringLiteral("tv1"));
    m_tv1->setHeaderHidden(true);
    m_tv1->setColumnCount(1);
    m_tv1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tv1->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tv1->setAllColumnsShowFocus(true);
    m_tv1->setToolTip(QStringLiteral("点右键可以新建、修改和删除分组"));
    m_tv1->setMinimumWidth(80);
    layout->addWidget(m_tv1, 1);

    m_statHint = new TStatusPanels(left);
    m_statHint->setObjectName(QStringLiteral("statHint"));
    m_statHint->AddPanel(QString(), 50);
    layout->addWidget(m_statHint);
    m_splitter1->addWidget(left);
}

void TGoodsPage::BuildRight() {
    auto* right = new QWidget(m_splitter1);
    right->setObjectName(QStringLiteral("pnlGoods"));
    auto* layout = new QVBoxLayout(right);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_pnlGrid = new QWidget(right);
    m_pnlGrid->setObjectName(QStringLiteral("pnlGrid"));
    auto* gridLayout = new QVBoxLayout(m_pnlGrid);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pnlGrid, 1);

    m_stat1 = new TStatusPanels(right);
    m_stat1->setObjectName(QStringLiteral("stat1"));
    m_stat1->setAutoFillBackground(true);
    QPalette cream = m_stat1->palette();
    cream.setColor(QPalette::Window, QColor(255, 251, 240));
    m_stat1->setPalette(cream);
    layout->addWidget(m_stat1);

    m_grp1 = new QGroupBox(QStringLiteral("快速查找"), right);
    m_grp1->setObjectName(QStringLiteral("grp1"));
    auto* search = new QHBoxLayout(m_grp1);
    auto* label1 = new QLabel(QStringLiteral("查询项目"), m_grp1);
    label1->setObjectName(QStringLiteral("lblQueryItem"));
    m_cbbQuery = new QComboBox(m_grp1);
    m_cbbQuery->setObjectName(QStringLiteral("cbbQuery"));
    m_cbbQuery->setEditable(false);
    m_cbbQuery->setMinimumWidth(140);
    auto* label2 = new QLabel(QStringLiteral("查找内容"), m_grp1);
    label2->setObjectName(QStringLiteral("lblQueryText"));
    m_edtQuery = new QLineEdit(m_grp1);
    m_edtQuery->setObjectName(QStringLiteral("edtQuery"));
    m_edtQuery->setMinimumWidth(180);
    m_btnQuery = new QPushButton(QStringLiteral("查询"), m_grp1);
    m_btnQuery->setObjectName(QStringLiteral("btnQuery"));
    search->addWidget(label1);
    search->addWidget(m_cbbQuery);
    search->addSpacing(12);
    search->addWidget(label2);
    search->addWidget(m_edtQuery);
    search->addSpacing(12);
    search->addWidget(m_btnQuery);
    search->addStretch(1);
    layout->addWidget(m_grp1);
    m_splitter1->addWidget(right);
}

void TGoodsPage::BuildMenus() {
    m_pmCustomerType = new QMenu(this);
    m_pmCustomerType->setObjectName(QStringLiteral("pmCustomerType"));
    m_NAddIEType = AddNamedAction(m_pmCustomerType, "NAddIEType", QStringLiteral("新建组"));
    m_NModIeType = AddNamedAction(m_pmCustomerType, "NModIeType", QStringLiteral("重命名组"));
    m_NDelIEType = AddNamedAction(m_pmCustomerType, "NDelIEType", QStringLiteral("删除组"));
    m_pmCustomerType->addSeparator();
    m_N5 = AddNamedAction(m_pmCustomerType, "N5", QStringLiteral("新建商品"));

    m_pmCustomer = new QMenu(this);
    m_pmCustomer->setObjectName(QStringLiteral("pmCustomer"));
    m_NAddCustomer = AddNamedAction(m_pmCustomer, "NAddCustomer", QStringLiteral("新建商品"));
    m_NModCustomer = AddNamedAction(m_pmCustomer, "NModCustomer", QStringLiteral("修改"));
    m_N3 = AddNamedAction(m_pmCustomer, "N3", QStringLiteral("删除"));
    m_pmCustomer->addSeparator();
    m_N9 = AddNamedAction(m_pmCustomer, "N9", QStringLiteral("刷新"));
    m_pmCustomer->addSeparator();
    m_Excel1 = AddNamedAction(m_pmCustomer, "Excel1", QStringLiteral("导出Excel"));

    m_tv1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_tv1, &QWidget::customContextMenuRequested, this, Guarded([this](const QPoint& pos) {
                m_pmCustomerType->popup(m_tv1->viewport()->mapToGlobal(pos));
            }));
}
