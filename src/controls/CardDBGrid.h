#pragma once
// The data grid of every result list: rows striped by record number, cell lines of its own, sorting by a
// click on a column title (with an arrow in that title), and column widths fitted to titles and contents.
#include "data/DataSource.h"

#include <QColor>
#include <QPointer>
#include <QTableView>

class TGridModel;
class TResultSet;
class QStyleOptionViewItem;

class TCardDBGrid : public QTableView, public IDataGrid {
    Q_OBJECT
    Q_PROPERTY(QColor GridOddColor READ GridOddColor WRITE SetGridOddColor)
    Q_PROPERTY(QColor GridEvenColor READ GridEvenColor WRITE SetGridEvenColor)
    Q_PROPERTY(QColor GriddingRowColor READ GriddingRowColor WRITE SetGriddingRowColor)
    Q_PROPERTY(QColor GriddingColColor READ GriddingColColor WRITE SetGriddingColColor)
public:
    explicit TCardDBGrid(QWidget* parent = nullptr);
    ~TCardDBGrid() override;

    // Background of records 1, 3, 5, ...
    QColor GridOddColor() const { return m_oddColor; }
    void SetGridOddColor(const QColor& color);
    // Background of records 2, 4, 6, ...
    QColor GridEvenColor() const { return m_evenColor; }
    void SetGridEvenColor(const QColor& color);
    // The line along the bottom edge of every cell.
    QColor GriddingRowColor() const { return m_rowLineColor; }
    void SetGriddingRowColor(const QColor& color);
    // The line along the right edge of every cell.
    QColor GriddingColColor() const { return m_colLineColor; }
    void SetGriddingColColor(const QColor& color);

    // Binds the grid; it follows every change of the source's rows from then on (nullptr unbinds).
    void SetDataSource(TDataSource* source) override;
    TDataSource* DataSource() const { return m_source; }
    // The result set behind the data source, or nullptr.
    TResultSet* DataSet() const;

    // Every column's width from its title (+ 24) and the texts of the first 50 rows (+ 4), in the grid's
    // font.
    void FitColumnWidths() override;
    // Sorts the rows by the clicked column: ascending first, then toggling; the arrow shows in that title
    // only.
    void TitleClick(int column);

    // The columns bound to the fields of the result set, hidden ones included.
    int ColumnCount() const;
    // A column's title as shown, arrow included.
    QString Title(int column) const;
    // The background of a record (numbered from 1) that is not selected.
    QColor RecordColor(int recNo) const;
    // The background of the selected row.
    QColor SelectionColor() const;
    // Paints one data cell: stripe or selection background, the text, the two cell lines.
    void DrawStripedCell(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const;
    // Selects the result set's current record, e.g. after the rows were walked.
    void FollowDataSet();

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void DataChanged();

    TGridModel* m_model;
    QPointer<TDataSource> m_source;
    QMetaObject::Connection m_sourceChanged;
    QMetaObject::Connection m_sourceDestroyed;
    bool m_following = false; // the grid is catching up with its result set
    QColor m_oddColor;
    QColor m_evenColor{255, 251, 240};
    QColor m_rowLineColor{166, 202, 240};
    QColor m_colLineColor{166, 202, 240};
};
