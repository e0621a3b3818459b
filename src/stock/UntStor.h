#pragma once
// The statements of the stock documents and of the movement history, kept apart from their windows.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

enum class TStorKind { In, Out, Ok };

// One listed goods record of a stock document, as read when the list was filled.
struct TStorRow {
    QString Guid;
    QString Code;
    QString Name;
    QString Stock; // 库存 as text
    QString Remark;
};

// The goods a document lists: the group's own goods (0 = every goods record) that match the search. The
// search text's single quotes are doubled; the query item is a column name from the window's own list.
QString StorSelectSql(int groupIndex, const QString& queryItem, const QString& queryText);

// A box's text as a whole number, as the booking reads it: 0 when it is not one.
int64_t QuantityValue(const QString& text);
// The sum the check adds up.
int64_t QuantitySum(const std::vector<QString>& quantities);

// The booking of a document as one batch: per non-zero row (stocktake: per changed count) a movement row and
// the change of the stock. quantities[i] belongs to rows[i]. A stocktake row whose stock text is not a whole
// number raises EAppError before anything is built.
QString StorBookingBatch(TStorKind kind, const std::vector<TStorRow>& rows,
                         const std::vector<QString>& quantities);

// The window's caption, heading, quantity column, confirm button and success message.
struct TStorTexts {
    QString Caption;
    QString Heading;
    QString QuantityTitle;
    QString ConfirmButton;
    QString Success;
};
TStorTexts StorTexts(TStorKind kind);

// Movement history: page 0 stock in, 1 stock out, 2 stocktake.
QString HistoryBaseSql(int page);
// A moment as the engine's day number, to the second: days since 1899-12-30 with the time as fraction, in
// the shortest form with at most 15 significant digits.
QString DayNumberText(const QDateTime& moment);
// " and <end>>=CreateDate and CreateDate>=<begin> ".
QString PeriodCondition(const QDateTime& begin, const QDateTime& end);
QString HistorySql(int page, const QDateTime& begin, const QDateTime& end, int groupIndex,
                   const QString& queryItem, const QString& queryText);
