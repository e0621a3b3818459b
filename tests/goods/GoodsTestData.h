#pragma once
// Goods, groups and user fields put straight into the data file for the goods tests.
#include "data/MD.h"

#include <QString>

namespace goods_test {

// A user field: its AppTitle row and its Customer column (kind 4 is numeric).
inline void AddField(const QString& name, int kind = 0, bool required = false, bool unique = false,
                     const QString& values = QString()) {
    ExecSql(QStringLiteral("insert into AppTitle (TitleName,TitleType,TitleValues,Titlebt,Titlewy) values "
                           "('%1',%2,'%3',%4,%5)")
                .arg(name)
                .arg(kind)
                .arg(QuotedSql(values))
                .arg(required ? 1 : 0)
                .arg(unique ? 1 : 0) +
            QString::fromLatin1(BatchSeparator) +
            QStringLiteral("alter table Customer add %1 varchar(100)").arg(name));
}

inline void AddGroup(int self, int parent, const QString& name) {
    ExecSql(QStringLiteral("insert into CustomerType(SelfIndex,ParentIndex,TypeName) values (%1,%2,'%3')")
                .arg(self)
                .arg(parent)
                .arg(QuotedSql(name)));
}

inline void AddGoods(const QString& guid, int type, const QString& code, const QString& name,
                     const QString& extraColumns = QString(), const QString& extraValues = QString()) {
    ExecSql(
        QStringLiteral(
            "insert into Customer([GUID],TypeID,商品编号,商品名称,备注%1) values ('%2',%3,'%4','%5',''%6)")
            .arg(extraColumns.isEmpty() ? QString() : QLatin1Char(',') + extraColumns, guid)
            .arg(type)
            .arg(QuotedSql(code), QuotedSql(name),
                 extraValues.isEmpty() ? QString() : QLatin1Char(',') + extraValues));
}

// A GUID-shaped key that tells the rows of a test apart.
inline QString Guid(int n) {
    return QStringLiteral("00000000-0000-0000-0000-%1").arg(n, 12, 10, QLatin1Char('0'));
}

} // namespace goods_test
