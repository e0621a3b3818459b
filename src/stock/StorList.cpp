#include "stock/StorList.h"

#include "common/UException.h"
#include "controls/CardFloatIntEdit.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>

TStorModel::TStorModel(const QString& quantityTitle, QObject* parent)
    : QAbstractTableModel(parent), m_quantityTitle(quantityTitle) {}

void TStorModel::SetRows(std::vector<TStorRow> rows, std::vector<QString> starts) {
    beginResetModel();
    m_rows = std::move(rows);
    m_starts = std::move(starts);
    m_starts.resize(m_rows.size(), QStringLiteral("0"));
    m_quantities = m_starts;
    endResetModel();
}

void TStorModel::SetQuantity(int row, const QString& text) {
    if (row < 0 || row >= int(m_rows.size()) || m_quantities[size_t(row)] == text) return;
    m_quantities[size_t(row)] = text;
    const QModelIndex cell = index(row, ColQuantity);
    emit dataChanged(cell, cell);
}

bool TStorModel::Changed() const {
    for (size_t i = 0; i < m_quantities.size(); ++i)
        if (m_quantities[i] != m_starts[i]) return true;
    return false;
}

int TStorModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}
int TStorModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TStorModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(m_rows.size())) return {};
    const TStorRow& r = m_rows[size_t(index.row())];
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        switch (index.column()) {
        case ColGuid:
            return r.Guid;
        case ColCode:
            return r.Code;
        case ColName:
            return r.Name;
        case ColStock:
            return r.Stock;
        case ColQuantity:
            return m_quantities[size_t(index.row())];
        case ColRemark:
            return r.Remark;
        default:
            return {};
        }
    }
    if (role == Qt::TextAlignmentRole && (index.column() == ColName || index.column() == ColQuantity))
        return int(Qt::AlignCenter);
    return {};
}

bool TStorModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || index.column() != ColQuantity) return false;
    SetQuantity(index.row(), value.toString());
    return true;
}

Qt::ItemFlags TStorModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == ColQuantity) f |= Qt::ItemIsEditable;
    return f;
}

QVariant TStorModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const titles[] = {"sGUID", "商品编号", "商品名称", "现有库存", "", "备注"};
    if (section == ColQuantity) return m_quantityTitle;
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(titles[section]) : QVariant();
}

QWidget* TQuantityDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                         const QModelIndex&) const {
    auto* box = new TCardFloatIntEdit(parent);
    box->setObjectName(QStringLiteral("edtQuantity"));
    box->SetTextType(TTextType::IntegerText);
    box->SetZF(true);
    box->setAlignment(Qt::AlignCenter);
    return box;
}

void TQuantityDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* box = static_cast<TCardFloatIntEdit*>(editor);
    const QString text = index.data(Qt::EditRole).toString();
    if (box->text() != text) box->setText(text);
}

void TQuantityDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                     const QModelIndex& index) const {
    auto* box = static_cast<TCardFloatIntEdit*>(editor);
    model->setData(index, TCardFloatIntEdit::RepairedText(TTextType::IntegerText, box->text()), Qt::EditRole);
}

void TQuantityDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                             const QModelIndex&) const {
    editor->setGeometry(option.rect);
}

void TQuantityDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget* w = option.widget;
    QStyle* style = w ? w->style() : QApplication::style();
    QStyleOptionFrame frame;
    frame.rect = option.rect.adjusted(1, 1, -1, -1);
    frame.state = QStyle::State_Sunken | QStyle::State_Enabled;
    frame.lineWidth = 1;
    frame.palette = option.palette;
    painter->save();
    painter->fillRect(option.rect, option.palette.base());
    style->drawPrimitive(QStyle::PE_PanelLineEdit, &frame, painter, w);
    painter->setPen(option.palette.color(QPalette::Text));
    painter->drawText(frame.rect, Qt::AlignCenter, opt.text);
    painter->restore();
}

bool TQuantityDelegate::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        int delta = 0;
        if (plain &&
            (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Down))
            delta = 1;
        else if (plain && key->key() == Qt::Key_Up)
            delta = -1;
        if (delta != 0) {
            if (auto* editor = qobject_cast<QWidget*>(watched)) emit MoveRequested(editor, delta);
            return true; // an Enter never reaches the window's buttons
        }
    }
    return QStyledItemDelegate::eventFilter(watched, event);
}

TStorListView::TStorListView(QWidget* parent) : QTableView(parent), m_delegate(new TQuantityDelegate(this)) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::DoubleClicked | QAbstractItemView::AnyKeyPressed);
    setShowGrid(true);
    setSortingEnabled(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(23);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    setItemDelegateForColumn(TStorModel::ColQuantity, m_delegate);
    connect(m_delegate, &TQuantityDelegate::MoveRequested, this,
            Guarded([this](QWidget* editor, int delta) { Move(editor, delta); }));
}

void TStorListView::SetStorModel(TStorModel* model) {
    m_model = model;
    setModel(model);
    QHeaderView* h = horizontalHeader();
    // The fixed columns cannot be resized, which keeps the boxes where the quantity column is.
    const int widths[] = {1, 120, 180, 70, 80, 150};
    for (int c = 0; c < TStorModel::ColumnCount; ++c) {
        h->setSectionResizeMode(c,
                                c == TStorModel::ColRemark ? QHeaderView::Interactive : QHeaderView::Fixed);
        h->resizeSection(c, widths[c]);
    }
    setColumnHidden(TStorModel::ColGuid, true);
}

void TStorListView::EditRow(int row) {
    if (!m_model || row < 0 || row >= m_model->rowCount()) return;
    const QModelIndex cell = m_model->index(row, TStorModel::ColQuantity);
    if (currentIndex() != cell)
        setCurrentIndex(cell); // opens the box through CurrentChanged
    else if (!OpenBox())
        edit(cell);
    scrollTo(cell);
    if (TCardFloatIntEdit* box = OpenBox()) {
        box->setFocus(Qt::OtherFocusReason);
        box->selectAll();
    }
}

TCardFloatIntEdit* TStorListView::OpenBox() const {
    if (!m_model) return nullptr;
    const QModelIndex cell = currentIndex();
    if (!cell.isValid() || cell.column() != TStorModel::ColQuantity) return nullptr;
    return qobject_cast<TCardFloatIntEdit*>(indexWidget(cell));
}

int TStorListView::OpenBoxRow() const {
    return OpenBox() ? currentIndex().row() : -1;
}

void TStorListView::CommitOpenBox() {
    TCardFloatIntEdit* box = OpenBox();
    if (!box) return;
    const QString repaired = TCardFloatIntEdit::RepairedText(TTextType::IntegerText, box->text());
    if (repaired != box->text()) box->setText(repaired);
    m_model->SetQuantity(currentIndex().row(), repaired);
}

void TStorListView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    // Whatever is clicked in a row, its quantity is what gets typed.
    if (current.isValid() && current.column() != TStorModel::ColQuantity) {
        setCurrentIndex(current.sibling(current.row(), TStorModel::ColQuantity));
        return;
    }
    QTableView::currentChanged(current, previous);
}

void TStorListView::Move(QWidget* editor, int delta) {
    if (!m_model || editor != OpenBox()) return;
    const int row = currentIndex().row() + delta;
    if (row < 0 || row >= m_model->rowCount()) {
        CommitOpenBox();
        return;
    }
    CommitOpenBox();
    EditRow(row);
}
