#pragma once
// Goods and movements put straight into the data file for the stock tests.
#include "data/MD.h"

#include <QDateTime>
#include <QString>

namespace stock_test {

inline QString Guid(int i) {
    return QStringLiteral("%1-0000-4000-8000-000000000000").arg(i, 8, 10, QLatin1Char('0'));
}

inline void AddGroup(int self, int parent, const QString& name) {
    ExecSql(QStringLiteral("insert into CustomerType(SelfIndex,ParentIndex,TypeName) values (?,?,?)"),
            {self, parent, name});
}

inline void AddGoods(int i, int type, const QString& code, const QString& name, int stock) {
    ExecSql(QStringLiteral(
                "insert into Customer([GUID],TypeID,商品编号,商品名称,库存,备注) values (?,?,?,?,?,'')"),
            {Guid(i), type, code, name, stock});
}

inline int Stock(int i) {
    return QueryInt(QStringLiteral("select 库存 from Customer where GUID=?"), {Guid(i)});
}

// A movement stamped at a given moment.
inline void AddMovement(const char* table, int i, int sl, const QDateTime& at, int oldsl = 0) {
    if (QLatin1String(table) == QLatin1String("StorOk"))
        ExecSql(QStringLiteral("insert into StorOk (GUID,SL,Oldsl,CreateDate) values (?,?,?,?)"),
                {Guid(i), sl, oldsl, at});
    else
        ExecSql(
            QStringLiteral("insert into %1 (GUID,SL,CreateDate) values (?,?,?)").arg(QLatin1String(table)),
            {Guid(i), sl, at});
}

} // namespace stock_test
