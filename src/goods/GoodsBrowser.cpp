#include "goods/GoodsBrowser.h"

#include "common/StatusPanels.h"
#include "common/UException.h"
#include "common/UntPublic.h"
#include "controls/CardDBGrid.h"
#include "controls/GridExport.h"
#include "data/MD.h"
#include "fields/CustomerDIY.h"
#include "fields/UntTitle.h"
#include "goods/AddCustomer.h"
#include "goods/GoodsPage.h"
#include "goods/ModCustomer.h"
#include "goods/UntCustomer.h"
#include "tree/UntTree.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <sqlite3.h>

namespace {

// The statement must compile before the grid is touched, so that a broken search leaves the last result.
void CheckGridStatement(const QString& sql) {
    try {
        sqlite3_finalize(gDbAccess->Connection->Prepare(sql));
    } catch (const EEngineError& e) {
        throw EDBException(e.Message(), QStringLiteral("数据库查询错误，请检查！"), sql);
    }
}

} // namespace

TGoodsBrowser::TGoodsBrowser(TGoodsPage* page, TCardTree* tree)
    : QObject(page), m_page(page), m_treeView(page->tv1()), m_tree(tree),
      m_grid(new TCardDBGrid(page->pnlGrid())) {
    setObjectName(QStringLiteral("GoodsBrowser"));
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setToolTip(QStringLiteral("点右键可以新建、修改、删除商品信息"));
    m_grid->SetGridEvenColor(QColor(255, 251, 240));
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    page->pnlGrid()->layout()->addWidget(m_grid);

    connect(m_grid, &QWidget::customContextMenuRequested, this, Guarded([this](const QPoint& pos) {
                m_page->pmCustomer()->popup(m_grid->viewport()->mapToGlobal(pos));
            }));
    connect(m_grid, &QAbstractItemView::doubleClicked, this, Guarded([this] { NModCustomerClick(); }));
    connect(page->tv1(), &QTreeWidget::itemClicked, this, Guarded([this] { tv1Click(); }));
    m_treeView->installEventFilter(this);
    connect(page->btnQuery(), &QPushButton::clicked, this, Guarded([this] { btnQueryClick(); }));
    connect(page->N9(), &QAction::triggered, this, Guarded([this] { N9Click(); }));
    connect(page->N5(), &QAction::triggered, this, Guarded([this] { NAddCustomerClick(); }));
    connect(page->NAddCustomer(), &QAction::triggered, this, Guarded([this] { NAddCustomerClick(); }));
    connect(page->NModCustomer(), &QAction::triggered, this, Guarded([this] { NModCustomerClick(); }));
    connect(page->N3(), &QAction::triggered, this, Guarded([this] { N3Click(); }));
    connect(page->Excel1(), &QAction::triggered, this, Guarded([this] { Excel1Click(); }));
    page->ToolButtonHY()->setEnabled(true);
    connect(page->ToolButtonHY(), &QToolButton::clicked, this, Guarded([this] { ToolButtonHYClick(); }));
}

void TGoodsBrowser::FillQueryItems() {
    QStringList items;
    gCustomer->FillQueryItems(items);
    QComboBox* cbb = m_page->cbbQuery();
    cbb->clear();
    cbb->addItems(items);
    cbb->setCurrentIndex(0);
}

void TGoodsBrowser::QueryGoods() {
    const int group = m_tree ? m_tree->SelectedGroupIndex() : 0;
    const QString sql =
        GoodsSelectSql(TitleNameList(), group, m_page->cbbQuery()->currentText(), m_page->edtQuery()->text());
    CheckGridStatement(sql);
    m_queriedGroup = group;
    gDbAccess->OpenGrid(sql, m_grid);
    m_grid->setColumnHidden(0, true);
    ShowTotals();
}

void TGoodsBrowser::ShowCountAndStock() {
    TStatusPanels* bar = m_page->stat1();
    const TResultSet* rows = m_grid->DataSet();
    bar->AddPanel(QStringLiteral("商品数量："), 80, Qt::AlignRight);
    bar->AddPanel(QString::number(rows ? rows->RecordCount() : 0), 80, Qt::AlignLeft);
    bar->AddPanel(QStringLiteral("库存："), 60, Qt::AlignRight);
    bar->AddPanel(StockTotal().ToString(), 80, Qt::AlignLeft);
}

void TGoodsBrowser::ShowTotals() {
    TStatusPanels* bar = m_page->stat1();
    bar->ClearPanels();
    ShowCountAndStock();
    gDbAccess->OpenQuery(QStringLiteral("select TitleName from APPTitle where TitleType=4 "));
    QStringList numeric;
    for (TResultSet* q = gDbAccess->QueryData; !q->Eof(); q->Next())
        numeric << q->Fields(0).AsString();
    const TResultSet* rows = m_grid->DataSet();
    for (const QString& name : numeric) {
        const TCurrency sum = rows ? SumColumn(*rows, rows->FindField(name)) : TCurrency();
        bar->AddPanel(name + QStringLiteral("："), 80, Qt::AlignRight);
        bar->AddPanel(sum.ToString(), 70, Qt::AlignLeft);
    }
}

void TGoodsBrowser::tv1Click() {
    QueryGoods();
}
void TGoodsBrowser::btnQueryClick() {
    QueryGoods();
}
void TGoodsBrowser::N9Click() {
    QueryGoods();
}

bool TGoodsBrowser::eventFilter(QObject* watched, QEvent* event) {
    // Moving through the groups with the keyboard lists them as a click does.
    Guard([&] {
        if (watched == m_treeView && event->type() == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (!key->isAutoRepeat() && m_tree && m_tree->Selected() &&
                m_tree->SelectedGroupIndex() != m_queriedGroup)
                QueryGoods();
        }
    });
    return QObject::eventFilter(watched, event);
}

void TGoodsBrowser::NAddCustomerClick() {
    const QTreeWidgetItem* node = m_tree ? m_tree->Selected() : nullptr;
    const int group = m_tree ? m_tree->SelectedGroupIndex() : 0;
    const QString text = !node || group == 0 ? QStringLiteral("未分组") : node->text(0);
    if (ShowAddGoods(group, text) == QDialog::Accepted) QueryGoods();
}

int TGoodsBrowser::CurrentRow() const {
    const TResultSet* rows = m_grid->DataSet();
    if (!rows || !rows->Active() || rows->RecordCount() == 0) return -1;
    return rows->RecNo() > 0 ? rows->RecNo() - 1 : 0;
}

void TGoodsBrowser::NModCustomerClick() {
    const int row = CurrentRow();
    if (row < 0) return;
    const TResultSet* rows = m_grid->DataSet();
    if (ShowModifyGoods(rows->Text(row, 0)) == QDialog::Accepted) {
        gDbAccess->RefreshGrid();
        // A changed number changes its sum.
        ShowTotals();
    }
}

void TGoodsBrowser::N3Click() {
    const int row = CurrentRow();
    if (row < 0) return;
    const TResultSet* rows = m_grid->DataSet();
    const QString guid = rows->Text(row, 0);
    const QString code = rows->Text(row, 2);
    if (!AskYesNo(QStringLiteral("确实要删除：＂") + code + QStringLiteral("＂吗?"))) return;
    gCustomer->DeleteGoods(guid);
    // The count and the sums follow the rows that are left.
    ShowTotals();
}

void TGoodsBrowser::Excel1Click() {
    ExportGridToExcel(m_grid, TitleCellKinds());
}

// The window posts WM_REFRESHGOODS on closing after a change; the main window then runs the query again.
void TGoodsBrowser::ToolButtonHYClick() {
    ShowCustomerDIY();
}
