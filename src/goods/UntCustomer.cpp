#include "goods/UntCustomer.h"

#include "common/UntPublic.h"
#include "data/MD.h"

#include <memory>

namespace {
std::unique_ptr<TCustomer> gCustomerInstance = std::make_unique<TCustomer>();
}

TCustomer* gCustomer = gCustomerInstance.get();

void TCustomer::FillQueryItems(QStringList& items) {
    items.clear();
    items << QStringLiteral("商品编号") << QStringLiteral("商品名称");
    LastSql = QStringLiteral("select TitleName from AppTitle ");
    gDbAccess->OpenQuery(LastSql);
    TResultSet* q = gDbAccess->QueryData;
    for (q->First(); !q->Eof(); q->Next())
        items << q->Fields(0).AsString();
}

void TCustomer::DeleteAndRefresh(const QString& sql) {
    LastSql = sql;
    ExecSql(sql);
    // Before the goods page ever ran its query there is nothing to show again.
    if (!gDbAccess->GridData->CommandText.isEmpty()) gDbAccess->RefreshGrid();
    ShowInfo(QStringLiteral("删除成功！"));
}

void TCustomer::DeleteGoods(const QString& guid) {
    DeleteAndRefresh(QStringLiteral("delete from Customer where GUID='%1' ").arg(guid));
}

void TCustomer::DeleteGroupGoods(const QString& groupIndex) {
    DeleteAndRefresh(QStringLiteral("delete from Customer where TypeID=%1 ").arg(groupIndex));
}

void TCustomer::LoadGoods(const QString& guid) {
    LastSql = QStringLiteral("select * from Customer where GUID='%1' ").arg(guid);
    gDbAccess->OpenQuery(LastSql);
    TResultSet* q = gDbAccess->QueryData;
    const bool found = !q->Eof();
    TypeID = found ? q->FieldByName(QStringLiteral("TypeID")).AsInteger() : 0;
    GoodsCode = found ? q->FieldByName(QStringLiteral("商品编号")).AsString() : QString();
    GoodsName = found ? q->FieldByName(QStringLiteral("商品名称")).AsString() : QString();
    GoodsRemark = found ? q->FieldByName(QStringLiteral("备注")).AsString() : QString();
    GroupText = GroupName(TypeID);
}

QString TCustomer::GroupName(int groupIndex) {
    const QString sql =
        QStringLiteral("select TypeName from CustomerType where Selfindex=%1 ").arg(groupIndex);
    gDbAccess->OpenQuery(sql);
    TResultSet* q = gDbAccess->QueryData;
    return q->Eof() ? QString() : q->Fields(0).AsString();
}

QString GoodsInsertSql(const QString& guid, int groupIndex, const QString& code, const QString& name,
                       const QString& remark, const QString& columns, const QString& values) {
    QString cols, vals = QStringLiteral("'%1',%2,'%3','%4','%5'")
                             .arg(QuotedSql(guid), QString::number(groupIndex), QuotedSql(code),
                                  QuotedSql(name), QuotedSql(remark));
    if (!columns.isEmpty()) {
        cols = QStringLiteral("[GUID],TypeID,商品编号,商品名称,备注,%1").arg(columns);
        vals += QLatin1Char(',') + values;
    } else {
        cols = QStringLiteral("[GUID],TypeID,商品编号,商品名称,备注 ");
    }
    return QStringLiteral("insert into Customer(") + cols + QStringLiteral(") values (") + vals +
           QLatin1Char(')');
}

QString GoodsUpdateSql(const QString& guid, int groupIndex, const QString& code, const QString& name,
                       const QString& remark, const QString& updateList) {
    const QString fixed =
        QStringLiteral("TypeID=%1,商品编号='%2',商品名称='%3',备注='%4' ")
            .arg(QString::number(groupIndex), QuotedSql(code), QuotedSql(name), QuotedSql(remark));
    const QString set = updateList.isEmpty() ? fixed : updateList + QLatin1Char(',') + fixed;
    return QStringLiteral("update Customer set ") + set + QStringLiteral(" where GUID='") + guid +
           QStringLiteral("' ");
}

QString GoodsSelectSql(const QString& fieldNames, int groupIndex, const QString& queryItem,
                       const QString& queryText) {
    QString sql =
        fieldNames.isEmpty()
            ? QStringLiteral("select a.GUID,b.TypeName as 所属分组,商品编号,商品名称,库存,备注 from Customer "
                             "a, CustomerType b  where a.TypeID=b.SelfIndex ")
            : QStringLiteral("select a.GUID,b.TypeName as 所属分组,商品编号,商品名称,库存,") + fieldNames +
                  QStringLiteral(",备注 from Customer a, CustomerType b  where a.TypeID=b.SelfIndex ");
    if (groupIndex != 0) sql += QStringLiteral(" and TypeID=") + QString::number(groupIndex);
    if (!queryText.trimmed().isEmpty())
        sql += QStringLiteral(" and ") + queryItem + QStringLiteral(" like '%") + QuotedSql(queryText) +
               QStringLiteral("%'  ");
    return sql;
}

TCurrency StockTotal() {
    gDbAccess->OpenQuery(QStringLiteral("select sum(库存) from Customer "));
    TResultSet* q = gDbAccess->QueryData;
    return q->Eof() || q->Fields(0).IsNull() ? TCurrency() : q->Fields(0).AsCurrency();
}

TCurrency SumColumn(const TResultSet& rows, int column) {
    TCurrency sum;
    if (column < 0 || column >= rows.FieldCount()) return sum;
    for (int row = 0, n = rows.RecordCount(); row < n; ++row) {
        TCurrency value;
        if (!rows.IsNull(row, column) && TCurrency::TryParse(rows.Text(row, column), value)) sum += value;
    }
    return sum;
}
