#pragma once
// The link between a result set and the grids bound to it.
#include <QObject>

class TResultSet;

class TDataSource : public QObject {
    Q_OBJECT
public:
    explicit TDataSource(QObject* parent = nullptr) : QObject(parent) {}
    ~TDataSource() override;
    // Feeds the source from a result set (nullptr unbinds); grids hear of every change of its rows.
    void SetDataSet(TResultSet* dataSet);
    TResultSet* DataSet() const { return m_dataSet; }

signals:
    // The rows were replaced, reordered or closed.
    void DataChanged();

private:
    TResultSet* m_dataSet = nullptr;
    int m_subscription = 0;
};

// What the access layer needs of a grid it binds a query to.
class IDataGrid {
public:
    virtual ~IDataGrid() = default;
    virtual void SetDataSource(TDataSource* source) = 0;
    virtual void FitColumnWidths() = 0;
};
