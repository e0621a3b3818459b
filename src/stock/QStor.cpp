#include "stock/QStor.h"

#include "common/BaseDlg.h"
#include "common/Seams.h"
#include "common/StatusPanels.h"
#include "common/UException.h"
#include "common/UntPublic.h"
#include "common/WindowMessages.h"
#include "controls/CardDBGrid.h"
#include "controls/DateBox.h"
#include "controls/GridExport.h"
#include "data/MD.h"
#include "goods/UntCustomer.h"
#include "stock/UntStor.h"
#include "tree/UntTree.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTimeEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QTimeEdit* TimeBox(QWidget* parent, const char* name, const QTime& start) {
    auto* box = new QTimeEdit(start, parent);
    box->setObjectName(QLatin1String(name));
    box->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    return box;
}

QDateEdit* DateBox(QWidget* parent, const char* name) {
    auto* box = new TDateBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setCalendarPopup(true);
    box->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    return box;
}

} // namespace

TQStorPage::TQStorPage(int page, QWidget* parent) : QWidget(parent), m_page(page) {
    static const char* const names[] = {"tsStorIn", "tsStorOut", "tsStorOk"};
    setObjectName(QLatin1String(names[page]));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildTop();

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    splitter->setChildrenCollapsible(false);
    m_tv1 = new QTreeWidget(splitter);
    m_tv1->setObjectName(QStringLiteral("tv1"));
    m_tv1->setHeaderHidden(true);
    m_tv1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid = new TCardDBGrid(splitter);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->SetGridEvenColor(QColor(255, 251, 240));
    splitter->addWidget(m_tv1);
    splitter->addWidget(m_grid);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({175, 617});
    layout->addWidget(splitter, 1);

    if (page < 2) {
        m_stat1 = new TStatusPanels(this);
        m_stat1->setObjectName(QStringLiteral("stat1"));
        m_stat1->AddPanel(QStringLiteral("记录数"), 60);
        m_stat1->AddPanel(QStringLiteral("0"), 100);
        m_stat1->AddPanel(page == 0 ? QStringLiteral("进货数量") : QStringLiteral("出货数量"), 80,
                          Qt::AlignRight);
        m_stat1->AddPanel(QStringLiteral("0"), 100);
        layout->addWidget(m_stat1);
    }

    m_tree = std::make_unique<TCardTree>(m_tv1, QStringLiteral("全部商品"), QStringLiteral("Customertype"));
    connect(m_tv1, &QTreeWidget::itemClicked, this, Guarded([this] { Query(); }));
    connect(m_btnQuery, &QPushButton::clicked, this, Guarded([this] { Query(); }));
    connect(m_edtQuery, &QLineEdit::returnPressed, this, Guarded([this] { Query(); }));
    connect(m_btnExcel, &QPushButton::clicked, this, Guarded([this] { btnExcelClick(); }));
}

TQStorPage::~TQStorPage() = default;

void TQStorPage::BuildTop() {
    auto* top = new QWidget(this);
    top->setObjectName(QStringLiteral("pnlTop"));
    auto* row = new QHBoxLayout(top);
    row->setContentsMargins(6, 4, 6, 4);
    row->setSpacing(4);
    m_dtpBegin = DateBox(top, "dtpBegin");
    m_dtpBeginTime = TimeBox(top, "dtpBeginTime", QTime(0, 0, 0));
    m_dtpEnd = DateBox(top, "dtpEnd");
    m_dtpEndTime = TimeBox(top, "dtpEndTime", QTime(23, 59, 59));
    m_cbbQuery = new QComboBox(top);
    m_cbbQuery->setObjectName(QStringLiteral("cbbQuery"));
    m_cbbQuery->setMinimumWidth(90);
    m_edtQuery = new QLineEdit(top);
    m_edtQuery->setObjectName(QStringLiteral("edtQuery"));
    m_edtQuery->setMinimumWidth(80);
    m_btnQuery = new QPushButton(style()->standardIcon(QStyle::SP_FileDialogContentsView),
                                 QStringLiteral("查询"), top);
    m_btnQuery->setObjectName(QStringLiteral("btnQuery"));
    m_btnExcel = new QPushButton(QStringLiteral("导出Excel"), top);
    m_btnExcel->setObjectName(QStringLiteral("btnExcel"));
    for (QPushButton* b : {m_btnQuery, m_btnExcel})
        b->setAutoDefault(false);
    row->addWidget(new QLabel(QStringLiteral("起始时间"), top));
    row->addWidget(m_dtpBegin);
    row->addWidget(m_dtpBeginTime);
    row->addWidget(new QLabel(QStringLiteral("结束时间"), top));
    row->addWidget(m_dtpEnd);
    row->addWidget(m_dtpEndTime);
    row->addWidget(new QLabel(QStringLiteral("查询项目"), top));
    row->addWidget(m_cbbQuery);
    row->addWidget(new QLabel(QStringLiteral("查询内容"), top));
    row->addWidget(m_edtQuery, 1);
    row->addWidget(m_btnQuery);
    row->addWidget(m_btnExcel);
    static_cast<QVBoxLayout*>(layout())->addWidget(top);
}

void TQStorPage::Query() {
    const QDateTime begin(m_dtpBegin->date(), m_dtpBeginTime->time());
    const QDateTime end(m_dtpEnd->date(), m_dtpEndTime->time());
    const QString sql = HistorySql(m_page, begin, end, m_tree->SelectedGroupIndex(),
                                   m_cbbQuery->currentText(), m_edtQuery->text());
    {
        TWaitingScope waiting(QStringLiteral("正在查询数据,请稍候..."));
        gDbAccess->OpenHistoryGrid(sql, m_grid);
    }
    ShowTotals();
}

void TQStorPage::ShowTotals() {
    if (!m_stat1) return;
    TResultSet* rows = m_grid->DataSet();
    const int count = rows ? rows->RecordCount() : 0;
    m_stat1->SetPanelText(1, QString::number(count));
    const TCurrency total = rows ? SumColumn(*rows, 2) : TCurrency();
    m_stat1->SetPanelText(3, total.ToString());
    // The walk over the rows ends on the last one.
    if (rows && count > 0) {
        rows->Last();
        m_grid->FollowDataSet();
    }
}

void TQStorPage::btnExcelClick() {
    ExportGridToExcel(m_grid);
}

TFormQStor::TFormQStor(QWidget* parent)
    : QDialog(parent ? parent : qobject_cast<QWidget*>(MainWindowTarget()),
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                  Qt::WindowCloseButtonHint),
      m_pgc1(new QTabWidget(this)) {
    setObjectName(QStringLiteral("TFormQStor"));
    setWindowTitle(QStringLiteral("进出货查询"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pgc1->setObjectName(QStringLiteral("pgc1"));
    static const char* const captions[] = {"商品进货查询", "商品出货查询", "商品盘点查询"};
    for (int i = 0; i < 3; ++i) {
        m_pages[i] = new TQStorPage(i, m_pgc1);
        m_pgc1->addTab(m_pages[i], QString::fromUtf8(captions[i]));
    }
    layout->addWidget(m_pgc1);
    setFixedSize(792, 476);
    connect(m_pgc1, &QTabWidget::currentChanged, this, Guarded([this](int index) {
                if (m_shown && index >= 0 && index < 3) m_pages[index]->Query();
            }));
}

void TFormQStor::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    Guard([this] {
        CenterOnMainWindow(this);
        FormShow();
    });
}

void TFormQStor::FormShow() {
    if (m_shown) return;
    m_shown = true;
    QStringList items;
    gCustomer->FillQueryItems(items);
    const QDate today = Now().date();
    for (TQStorPage* page : m_pages) {
        page->Tree()->LoadGroups();
        page->dtpBegin()->setDate(today);
        page->dtpEnd()->setDate(today);
        page->cbbQuery()->clear();
        page->cbbQuery()->addItems(items);
        page->cbbQuery()->setCurrentIndex(0);
    }
    m_pgc1->setCurrentIndex(0);
    m_pages[0]->Query();
}

void ShowQStor() {
    TFormQStor form;
    form.exec();
}
