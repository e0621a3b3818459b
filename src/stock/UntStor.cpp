#include "stock/UntStor.h"

#include "common/UException.h"
#include "data/JetFunctions.h"
#include "data/MD.h"

namespace {

QString SearchCondition(const QString& queryItem, const QString& queryText) {
    if (queryText.trimmed().isEmpty()) return QString();
    return QStringLiteral(" and ") + queryItem + QStringLiteral(" like '%") + QuotedSql(queryText) +
           QStringLiteral("%'  ");
}

// A whole number in the range of the box (an optional leading minus sign, digits).
bool WholeNumber(const QString& text, int64_t& value) {
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || text.trimmed() != text || text.startsWith(QLatin1Char('+'))) return false;
    value = n;
    return true;
}

} // namespace

QString StorSelectSql(int groupIndex, const QString& queryItem, const QString& queryText) {
    QString sql = QStringLiteral("select GUID,商品编号,商品名称,库存,0,备注 from Customer where 1=1 ");
    if (groupIndex != 0) sql += QStringLiteral(" and TypeID=") + QString::number(groupIndex);
    return sql + SearchCondition(queryItem, queryText);
}

int64_t QuantityValue(const QString& text) {
    int64_t n = 0;
    return WholeNumber(text, n) ? n : 0;
}

int64_t QuantitySum(const std::vector<QString>& quantities) {
    int64_t sum = 0;
    for (const QString& q : quantities)
        sum += QuantityValue(q);
    return sum;
}

QString StorBookingBatch(TStorKind kind, const std::vector<TStorRow>& rows,
                         const std::vector<QString>& quantities) {
    static const QString sep = QString::fromLatin1(BatchSeparator);
    QString batch;
    batch.reserve(int(rows.size()) * 40);
    for (size_t i = 0; i < rows.size() && i < quantities.size(); ++i) {
        const int64_t n = QuantityValue(quantities[i]);
        const QString& guid = rows[i].Guid;
        const QString num = QString::number(n);
        switch (kind) {
        case TStorKind::In:
            if (n == 0) continue;
            batch += sep + QStringLiteral("insert into StorIn ([GUID],SL) values ('") + guid +
                     QStringLiteral("',") + num + QStringLiteral(") ") + sep +
                     QStringLiteral("update Customer set 库存=库存+") + num +
                     QStringLiteral(" where [GUID]='") + guid + QStringLiteral("' ");
            break;
        case TStorKind::Out:
            if (n == 0) continue;
            batch += sep + QStringLiteral("insert into StorOut ([GUID],SL) values ('") + guid +
                     QStringLiteral("',") + num + QStringLiteral(") ") + sep +
                     // "库存--1" would start a comment: a negative quantity goes in parentheses.
                     QStringLiteral("update Customer set 库存=库存-") +
                     (n < 0 ? QLatin1Char('(') + num + QLatin1Char(')') : num) +
                     QStringLiteral(" where [GUID]='") + guid + QStringLiteral("' ");
            break;
        case TStorKind::Ok: {
            int64_t old = 0;
            if (!WholeNumber(rows[i].Stock, old))
                throw EAppError(QStringLiteral("商品“%1”的现有库存“%2”不是有效的整数，不能盘点!")
                                    .arg(rows[i].Code, rows[i].Stock));
            if (n == old) continue;
            batch += sep + QStringLiteral("insert into StorOk ([GUID],SL,Oldsl) values ('") + guid +
                     QStringLiteral("',") + num + QLatin1Char(',') + rows[i].Stock + QStringLiteral(") ") +
                     sep + QStringLiteral("update Customer set 库存=") + num +
                     QStringLiteral(" where [GUID]='") + guid + QStringLiteral("' ");
            break;
        }
        }
    }
    return batch;
}

TStorTexts StorTexts(TStorKind kind) {
    switch (kind) {
    case TStorKind::In:
        return {QStringLiteral("商品进货"), QStringLiteral("商  品  进  货"), QStringLiteral("进货数量"),
                QStringLiteral("确定进货(&S)"), QStringLiteral("进货成功!")};
    case TStorKind::Out:
        return {QStringLiteral("商品出货"), QStringLiteral("商  品  出  货"), QStringLiteral("出货数量"),
                QStringLiteral("确定出货(&S)"), QStringLiteral("出货成功!")};
    case TStorKind::Ok:
        break;
    }
    return {QStringLiteral("商品盘点"), QStringLiteral("商  品  盘  点"), QStringLiteral("盘点数量"),
            QStringLiteral("确定盘点(&S)"), QStringLiteral("盘点成功!")};
}

QString HistoryBaseSql(int page) {
    switch (page) {
    case 0:
        return QStringLiteral("select b.商品编号,b.商品名称,a.sl as 进货数量,a.CreateDate as 进货时间  from "
                              "StorIn a,Customer b where a.GUID=b.GUID  ");
    case 1:
        return QStringLiteral("select b.商品编号,b.商品名称,a.sl as 出货数量,a.CreateDate as 出货时间  from "
                              "StorOut a,Customer b where a.GUID=b.GUID  ");
    default:
        return QStringLiteral("select b.商品编号,b.商品名称,a.Oldsl as 原库存,a.sl as 盘点数量,a.CreateDate "
                              "as 盘点时间  from StorOk a,Customer b where a.GUID=b.GUID  ");
    }
}

QString DayNumberText(const QDateTime& moment) {
    const QTime t = moment.time();
    const QDateTime second(moment.date(), QTime(t.hour(), t.minute(), t.second()));
    return QString::number(DateTimeToDays(second), 'g', 15);
}

QString PeriodCondition(const QDateTime& begin, const QDateTime& end) {
    return QStringLiteral(" and ") + DayNumberText(end) + QStringLiteral(">=CreateDate and CreateDate>=") +
           DayNumberText(begin) + QLatin1Char(' ');
}

QString HistorySql(int page, const QDateTime& begin, const QDateTime& end, int groupIndex,
                   const QString& queryItem, const QString& queryText) {
    QString sql = HistoryBaseSql(page) + PeriodCondition(begin, end);
    if (groupIndex != 0) sql += QStringLiteral(" and b.TypeID=") + QString::number(groupIndex);
    return sql + SearchCondition(queryItem, queryText);
}
