#include "stock/BaseStor.h"

#include "common/UException.h"
#include "common/UntPublic.h"
#include "controls/CardFloatIntEdit.h"
#include "data/MD.h"
#include "goods/UntCustomer.h"
#include "stock/StorList.h"
#include "tree/UntTree.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const QString kDiscardQuestion = QStringLiteral("输入的数量尚未保存，确定要放弃吗？");
}

TFormBaseStor::TFormBaseStor(TStorKind kind, QWidget* parent) : TFormBaseDlg(parent), m_kind(kind) {
    const TStorTexts texts = StorTexts(kind);
    setObjectName(QStringLiteral("TFormBaseStor"));
    setWindowTitle(texts.Caption);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setSizeGripEnabled(true);

    auto* layout = new QVBoxLayout(pnlClient());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_lblTitle = new QLabel(texts.Heading, pnlClient());
    m_lblTitle->setObjectName(QStringLiteral("lblTitle"));
    m_lblTitle->setFixedHeight(49);
    m_lblTitle->setAlignment(Qt::AlignCenter);
    m_lblTitle->setAutoFillBackground(true);
    QPalette cream = m_lblTitle->palette();
    cream.setColor(QPalette::Window, QColor(255, 251, 240));
    m_lblTitle->setPalette(cream);
    QFont heading(QStringLiteral("黑体"));
    heading.setPixelSize(21);
    m_lblTitle->setFont(heading);
    layout->addWidget(m_lblTitle);

    m_splitter = new QSplitter(Qt::Horizontal, pnlClient());
    m_splitter->setObjectName(QStringLiteral("Splitter1"));
    m_splitter->setChildrenCollapsible(false);
    m_tv1 = new QTreeWidget(m_splitter);
    m_tv1->setObjectName(QStringLiteral("tv1"));
    m_tv1->setHeaderHidden(true);
    m_tv1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_model = new TStorModel(texts.QuantityTitle, this);
    m_lv1 = new TStorListView(m_splitter);
    m_lv1->setObjectName(QStringLiteral("lv1"));
    m_lv1->SetStorModel(m_model);
    m_splitter->addWidget(m_tv1);
    m_splitter->addWidget(m_lv1);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({172, 628});
    layout->addWidget(m_splitter, 1);

    auto* band = new QWidget(pnlClient());
    band->setObjectName(QStringLiteral("pnlSearch"));
    auto* search = new QHBoxLayout(band);
    search->setContentsMargins(8, 4, 8, 4);
    auto* label1 = new QLabel(QStringLiteral("查询项目"), band);
    m_cbbQuery = new QComboBox(band);
    m_cbbQuery->setObjectName(QStringLiteral("cbbQuery"));
    m_cbbQuery->setMinimumWidth(140);
    auto* label2 = new QLabel(QStringLiteral("查询内容"), band);
    m_edtQuery = new QLineEdit(band);
    m_edtQuery->setObjectName(QStringLiteral("edtQuery"));
    m_edtQuery->setMinimumWidth(180);
    m_btnQuery = new QPushButton(QStringLiteral("查询"), band);
    m_btnQuery->setObjectName(QStringLiteral("btnQuery"));
    search->addWidget(label1);
    search->addWidget(m_cbbQuery);
    search->addSpacing(12);
    search->addWidget(label2);
    search->addWidget(m_edtQuery);
    search->addWidget(m_btnQuery);
    search->addStretch(1);
    layout->addWidget(band);

    // Enter in a quantity box moves to the next row; no button of the window is the default, so a stray
    // Enter never books a half-typed document.
    btnOK()->setText(texts.ConfirmButton);
    btnOK()->setMinimumWidth(100);
    for (QPushButton* b : {btnOK(), btnCancel(), m_btnQuery}) {
        b->setDefault(false);
        b->setAutoDefault(false);
    }

    m_tree = std::make_unique<TCardTree>(m_tv1, QStringLiteral("全部商品"), QStringLiteral("Customertype"));
    connect(m_tv1, &QTreeWidget::itemClicked, this, Guarded([this] { tv1Click(); }));
    connect(m_btnQuery, &QPushButton::clicked, this, Guarded([this] { btnQueryClick(); }));
    connect(m_edtQuery, &QLineEdit::returnPressed, this, Guarded([this] { btnQueryClick(); }));
    resize(800, 520);
}

TFormBaseStor::~TFormBaseStor() = default;

void TFormBaseStor::showEvent(QShowEvent* event) {
    TFormBaseDlg::showEvent(event);
    if (!event->spontaneous()) Guard([this] { FormShow(); });
}

void TFormBaseStor::FormShow() {
    if (m_shown) return;
    m_shown = true;
    TWaitingScope waiting(QStringLiteral("正在查询数据,请稍候..."));
    m_tree->LoadGroups();
    QStringList items;
    gCustomer->FillQueryItems(items);
    m_cbbQuery->clear();
    m_cbbQuery->addItems(items);
    m_cbbQuery->setCurrentIndex(0);
    RunQuery();
}

void TFormBaseStor::tv1Click() {
    QueryGoods();
}
void TFormBaseStor::btnQueryClick() {
    QueryGoods();
}

bool TFormBaseStor::MayDiscard() {
    m_lv1->CommitOpenBox();
    return !m_model->Changed() || AskYesNo(kDiscardQuestion);
}

void TFormBaseStor::RestoreQueriedNode() {
    QTreeWidgetItem* node = m_queriedNode ? m_queriedNode : m_tree->RootNode;
    if (m_tv1->currentItem() != node) m_tv1->setCurrentItem(node);
}

void TFormBaseStor::QueryGoods() {
    if (!MayDiscard()) {
        RestoreQueriedNode();
        if (m_model->rowCount() > 0) m_lv1->EditRow(std::max(0, m_lv1->currentIndex().row()));
        return;
    }
    RunQuery();
}

void TFormBaseStor::RunQuery() {
    TWaitingScope waiting(QStringLiteral("正在查询数据,请稍候..."));
    QTreeWidgetItem* node = m_tree->Selected();
    const QString sql =
        StorSelectSql(m_tree->SelectedGroupIndex(), m_cbbQuery->currentText(), m_edtQuery->text());
    gDbAccess->OpenQuery(sql);
    TResultSet* q = gDbAccess->QueryData;
    const int n = q->RecordCount();
    std::vector<TStorRow> rows(static_cast<size_t>(n));
    std::vector<QString> starts(static_cast<size_t>(n), QStringLiteral("0"));
    for (int i = 0; i < n; ++i) {
        TStorRow& r = rows[size_t(i)];
        r.Guid = q->Text(i, 0);
        r.Code = q->Text(i, 1);
        r.Name = q->Text(i, 2);
        r.Stock = q->Text(i, 3);
        r.Remark = q->Text(i, 5);
        // The count starts at the stock as shown.
        if (m_kind == TStorKind::Ok) starts[size_t(i)] = r.Stock;
    }
    q->Close();
    m_model->SetRows(std::move(rows), std::move(starts));
    m_queriedNode = node;
    if (n > 0) m_lv1->EditRow(0);
}

void TFormBaseStor::CheckQuantities() {
    // The box being typed in counts as if it had been left.
    m_lv1->CommitOpenBox();
    if (m_model->rowCount() == 0) throw EAppError(QStringLiteral("没有商品信息,不能进行此操作!"));
    if (QuantitySum(m_model->Quantities()) == 0) {
        m_lv1->EditRow(0);
        throw EAppError(QStringLiteral("请先输入数量!"));
    }
}

void TFormBaseStor::btnOKClick() {
    CheckQuantities();
    {
        TWaitingScope waiting(QStringLiteral("正在保存数据,请稍候..."));
        ExecSql(StorBookingBatch(m_kind, m_model->Rows(), m_model->Quantities()));
    }
    RunQuery();
    ShowInfo(StorTexts(m_kind).Success);
}

void TFormBaseStor::reject() {
    Guard([this] {
        if (MayDiscard()) TFormBaseDlg::reject();
    });
}
