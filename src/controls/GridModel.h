#pragma once
// The table model behind the striped grid: it reads the bound result set in place, row by row in the
// result set's current order, so a paint costs only the cells it shows.
#include <QAbstractTableModel>
#include <QStringList>

class TResultSet;

class TGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TGridModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // Follows the result set's rows after they were replaced, reordered or closed (nullptr: nothing bound).
    // Keeps the columns (widths, hidden ones) when the fields stay the same, e.g. after a sort or a re-run.
    void DataSetChanged(TResultSet* dataSet);
    TResultSet* DataSet() const { return m_dataSet; }
    // True when the last change brought other fields than before.
    bool FieldsChanged() const { return m_fieldsChanged; }

    // The field a sort text ("field" or "field DESC") orders by, and whether it is descending.
    static QString SortedField(const QString& sortText, bool* desc);

    // Column titles as shown; a sorted column carries its arrow here.
    const QStringList& Titles() const { return m_titles; }
    void SetTitle(int column, const QString& title);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    bool HasCell(int row, int column) const;

    TResultSet* m_dataSet = nullptr;
    QStringList m_fields;
    QStringList m_titles;
    int m_rows = 0;
    bool m_fieldsChanged = false;
};
