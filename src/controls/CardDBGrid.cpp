#include "controls/CardDBGrid.h"

#include "common/UException.h"
#include "controls/GridModel.h"
#include "data/Engine.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <algorithm>
#include <vector>

namespace {

const QString kUp = QStringLiteral("▲");
const QString kDown = QStringLiteral("▼");
const QLatin1String kDesc(" DESC");
constexpr int kFitRows = 50;

class TStripedDelegate : public QStyledItemDelegate {
public:
    explicit TStripedDelegate(TCardDBGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        m_grid->DrawStripedCell(painter, opt, index);
    }

private:
    TCardDBGrid* m_grid;
};

} // namespace

TCardDBGrid::TCardDBGrid(QWidget* parent)
    : QTableView(parent), m_model(new TGridModel(this)), m_oddColor(palette().color(QPalette::Base)) {
    setModel(m_model);
    setItemDelegate(new TStripedDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(true);
    setShowGrid(false); // the cell lines are drawn with each cell, in their own colours
    setWordWrap(false);
    setSortingEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setStretchLastSection(false);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
            Guarded([this](int column) { TitleClick(column); }));
}

TCardDBGrid::~TCardDBGrid() {
    disconnect(m_sourceChanged);
    disconnect(m_sourceDestroyed);
}

void TCardDBGrid::SetGridOddColor(const QColor& color) {
    m_oddColor = color;
    viewport()->update();
}

void TCardDBGrid::SetGridEvenColor(const QColor& color) {
    m_evenColor = color;
    viewport()->update();
}

void TCardDBGrid::SetGriddingRowColor(const QColor& color) {
    m_rowLineColor = color;
    viewport()->update();
}

void TCardDBGrid::SetGriddingColColor(const QColor& color) {
    m_colLineColor = color;
    viewport()->update();
}

void TCardDBGrid::SetDataSource(TDataSource* source) {
    if (m_source != source) {
        disconnect(m_sourceChanged);
        disconnect(m_sourceDestroyed);
        m_source = source;
        if (source) {
            m_sourceChanged =
                connect(source, &TDataSource::DataChanged, this, Guarded([this] { DataChanged(); }));
            m_sourceDestroyed =
                connect(source, &QObject::destroyed, this, Guarded([this] { DataChanged(); }));
        }
    }
    DataChanged();
}

TResultSet* TCardDBGrid::DataSet() const {
    return m_source ? m_source->DataSet() : nullptr;
}

void TCardDBGrid::DataChanged() {
    // While the rows change, the view may move its current row on its own; the result set's position holds.
    const QScopedValueRollback<bool> following(m_following, true);
    m_model->DataSetChanged(DataSet());
    FollowDataSet();
}

void TCardDBGrid::FollowDataSet() {
    TResultSet* ds = DataSet();
    const int recNo = ds ? ds->RecNo() : 0;
    if (recNo < 1 || recNo > m_model->rowCount()) {
        setCurrentIndex(QModelIndex());
        return;
    }
    // Stay in the current column; otherwise take the first one shown (the goods grid hides its first).
    int column = currentIndex().isValid() ? currentIndex().column() : -1;
    if (column < 0 || isColumnHidden(column)) {
        column = 0;
        for (int visual = 0; visual < m_model->columnCount(); ++visual)
            if (const int logical = horizontalHeader()->logicalIndex(visual); !isColumnHidden(logical)) {
                column = logical;
                break;
            }
    }
    setCurrentIndex(m_model->index(recNo - 1, column));
    scrollTo(currentIndex());
}

void TCardDBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    Guard([&] {
        QTableView::currentChanged(current, previous);
        // The selected row is the result set's current record: the windows read the record through it.
        if (TResultSet* ds = DataSet();
            !m_following && ds && current.isValid() && current.row() < ds->RecordCount())
            ds->MoveTo(current.row());
    });
}

void TCardDBGrid::focusInEvent(QFocusEvent* event) {
    Guard([&] {
        QTableView::focusInEvent(event);
        viewport()->update(); // the selection shows only while the grid has the focus
    });
}

void TCardDBGrid::focusOutEvent(QFocusEvent* event) {
    Guard([&] {
        QTableView::focusOutEvent(event);
        viewport()->update();
    });
}

int TCardDBGrid::ColumnCount() const {
    return m_model->columnCount();
}

QString TCardDBGrid::Title(int column) const {
    const QStringList& titles = m_model->Titles();
    return column >= 0 && column < titles.size() ? titles[column] : QString();
}

QColor TCardDBGrid::RecordColor(int recNo) const {
    return recNo % 2 != 0 ? m_oddColor : m_evenColor;
}

QColor TCardDBGrid::SelectionColor() const {
    return palette().color(QPalette::Active, QPalette::Highlight);
}

void TCardDBGrid::DrawStripedCell(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    QStyleOptionViewItem opt(option);
    const bool selected = (opt.state & QStyle::State_Selected) && hasFocus();
    // Stripes follow the record number, so a record keeps its colour however the view scrolls.
    painter->fillRect(opt.rect, selected ? SelectionColor() : RecordColor(index.row() + 1));
    opt.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    opt.backgroundBrush = Qt::NoBrush;
    opt.palette.setColor(QPalette::Text,
                         palette().color(selected ? QPalette::HighlightedText : QPalette::Text));
    style()->drawControl(QStyle::CE_ItemViewItem, &opt, painter, this);
    painter->save();
    painter->setPen(m_rowLineColor);
    painter->drawLine(opt.rect.bottomLeft(), opt.rect.bottomRight());
    painter->setPen(m_colLineColor);
    painter->drawLine(opt.rect.topRight(), opt.rect.bottomRight());
    painter->restore();
}

void TCardDBGrid::TitleClick(int column) {
    TResultSet* ds = DataSet();
    if (!ds || !ds->Active() || column < 0 || column >= ColumnCount()) return;
    const QString field = ds->FieldNames().value(column);
    // The sort text names one field, optionally descending. A click on that field's title toggles the
    // direction; the field part is compared whole, so "名称" is not taken for "商品名称".
    bool desc = false;
    const QString current = TGridModel::SortedField(ds->Sort(), &desc);
    const bool same = !current.isEmpty() && current.compare(field, Qt::CaseInsensitive) == 0;
    const bool descending = same && !desc;
    ds->SetSort(descending ? field + kDesc : field);

    // Only the clicked title carries an arrow.
    for (int i = 0; i < ColumnCount(); ++i) {
        const QString title = Title(i);
        if (title.startsWith(kUp) || title.startsWith(kDown)) m_model->SetTitle(i, title.mid(1));
    }
    m_model->SetTitle(column, (descending ? kDown : kUp) + Title(column));
}

void TCardDBGrid::FitColumnWidths() {
    TResultSet* ds = DataSet();
    if (!ds || !ds->Active()) return;
    const QFontMetrics fm(font());
    const int columns = std::min(ColumnCount(), ds->FieldCount());
    std::vector<int> widths(size_t(std::max(columns, 0)));
    for (int i = 0; i < columns; ++i)
        widths[size_t(i)] = fm.horizontalAdvance(Title(i)) + 24;
    // Only the first rows are measured, however long the result.
    const int rows = std::min(ds->RecordCount(), kFitRows);
    for (int r = 0; r < rows; ++r)
        for (int i = 0; i < columns; ++i)
            widths[size_t(i)] = std::max(widths[size_t(i)], fm.horizontalAdvance(ds->Text(r, i)) + 4);
    for (int i = 0; i < columns; ++i)
        setColumnWidth(i, widths[size_t(i)]);
}
