#pragma once
// What a cell's number format makes of a number: a date, a time of day, or a plain number.
#include <QString>

enum class TDateKind { None, Date, Time };

// A format code such as "yyyy-mm-dd" or "0.00"; quoted text, escaped characters and colours do not count,
// the first section decides.
TDateKind FormatKind(const QString& code);
// The formats every workbook knows by number (14 to 22 and the East Asian date formats).
TDateKind BuiltInKind(int id);
// The cell's text for a number shown with a format of that kind; date1904 for workbooks that count from
// 1904.
QString FormattedNumber(double value, TDateKind kind, bool date1904);
