#pragma once
// The goods list of a stock document: the rows read when the list was filled and one quantity per row, held
// by a model and typed into one numeric box at a time, so that a document of any size stays light.
#include "stock/UntStor.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>
#include <vector>

class TCardFloatIntEdit;

// Columns: sGUID, 商品编号, 商品名称, 现有库存, the quantity, 备注.
class TStorModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum { ColGuid, ColCode, ColName, ColStock, ColQuantity, ColRemark, ColumnCount };

    TStorModel(const QString& quantityTitle, QObject* parent);

    // Replaces the rows; every quantity starts at its start text.
    void SetRows(std::vector<TStorRow> rows, std::vector<QString> starts);
    const std::vector<TStorRow>& Rows() const { return m_rows; }
    const std::vector<QString>& Quantities() const { return m_quantities; }
    void SetQuantity(int row, const QString& text);
    // Some quantity differs from the text it started with.
    bool Changed() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QString m_quantityTitle;
    std::vector<TStorRow> m_rows;
    std::vector<QString> m_quantities;
    std::vector<QString> m_starts;
};

// Edits a quantity in a numeric box for whole numbers; Enter and Down ask for the next row, Up for the
// previous one.
class TQuantityDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    // Stores the text repaired as on leaving the box.
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;
    // Quantity cells look like the box they turn into.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

signals:
    void MoveRequested(QWidget* editor, int delta) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

class TStorListView : public QTableView {
    Q_OBJECT
public:
    explicit TStorListView(QWidget* parent = nullptr);
    void SetStorModel(TStorModel* model);
    TStorModel* StorModel() const { return m_model; }

    // The box of a row: opens it there with the focus.
    void EditRow(int row);
    // The box now open, or nullptr.
    TCardFloatIntEdit* OpenBox() const;
    int OpenBoxRow() const;
    // Puts the open box's text, repaired as on leaving, into the model (the box stays open).
    void CommitOpenBox();

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void Move(QWidget* editor, int delta);
    TStorModel* m_model = nullptr;
    TQuantityDelegate* m_delegate;
};
