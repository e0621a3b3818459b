#pragma once
// Goods records: the statements on one row of Customer that the goods screens share.
#include "common/Currency.h"

#include <QString>
#include <QStringList>

class TResultSet;

class TCustomer {
public:
    // The record last read by LoadGoods.
    int TypeID = 0;
    QString GroupText;
    QString GoodsCode;
    QString GoodsName;
    QString GoodsRemark;
    QString LastSql;

    // Empties items, then "商品编号", "商品名称" and every user field name in stored order.
    void FillQueryItems(QStringList& items);
    // Deletes one record, re-runs the goods grid's query and shows "删除成功！".
    void DeleteGoods(const QString& guid);
    // Deletes every record of a group (index as decimal text), re-runs the grid's query, shows "删除成功！".
    void DeleteGroupGoods(const QString& groupIndex);
    void LoadGoods(const QString& guid);
    // The group's name; empty when the group has no row.
    QString GroupName(int groupIndex);

private:
    void DeleteAndRefresh(const QString& sql);
};

extern TCustomer* gCustomer;

// The statements of the goods entry dialogs. Texts go between quotes with their single quotes doubled;
// columns/values and updateList are the user fields' parts (empty when there are no user fields).
QString GoodsInsertSql(const QString& guid, int groupIndex, const QString& code, const QString& name,
                       const QString& remark, const QString& columns, const QString& values);
QString GoodsUpdateSql(const QString& guid, int groupIndex, const QString& code, const QString& name,
                       const QString& remark, const QString& updateList);

// The goods list of the goods page: fieldNames are the user field names joined by "," (may be empty);
// groupIndex 0 lists every group; a queryText of blanks only adds no search condition. The search text's
// single quotes are doubled; queryItem is a column name taken from the page's list and goes in as it is.
QString GoodsSelectSql(const QString& fieldNames, int groupIndex, const QString& queryItem,
                       const QString& queryText);

// The stock of all goods in the file, whatever is shown: "select sum(库存) from Customer "; 0 without goods.
TCurrency StockTotal();
// The sum of one column over all rows of a result; a text that is not a number counts 0.
TCurrency SumColumn(const TResultSet& rows, int column);
