// bookkeep_core
#include "maint/NumberFormats.h"

#include "maint/SheetTable.h"

TDateKind FormatKind(const QString& code) {
    bool date = false, time = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i].toLower();
        if (c == QLatin1Char('"')) {
            i = code.indexOf(QLatin1Char('"'), i + 1);
            if (i < 0) break;
        } else if (c == QLatin1Char('\\') || c == QLatin1Char('_') || c == QLatin1Char('*')) {
            ++i;
        } else if (c == QLatin1Char('[')) {
            const qsizetype close = code.indexOf(QLatin1Char(']'), i);
            if (close < 0) break;
            const QString inner = code.mid(i + 1, close - i - 1).toLower();
            if (!inner.isEmpty() && (inner[0] == QLatin1Char('h') || inner[0] == QLatin1Char('m') ||
                                     inner[0] == QLatin1Char('s')))
                time = true;
            i = close;
        } else if (c == QLatin1Char(';')) {
            break; // the first section decides
        } else if (c == QLatin1Char('y') || c == QLatin1Char('d')) {
            date = true;
        } else if (c == QLatin1Char('h') || c == QLatin1Char('s')) {
            time = true;
        } else if (c == QLatin1Char('m')) {
            date = date || !time; // "m" after an hour is minutes, otherwise the month
        } else if (c == QLatin1Char('e') || c == QLatin1Char('g')) {
            // "e" is the era year of East Asian formats; "General" is not a date
            if (code.mid(i, 7).compare(QLatin1String("general"), Qt::CaseInsensitive) == 0)
                i += 6;
            else if (c == QLatin1Char('e'))
                date = true;
        }
    }
    if (date) return TDateKind::Date;
    return time ? TDateKind::Time : TDateKind::None;
}

TDateKind BuiltInKind(int id) {
    if ((id >= 14 && id <= 17) || id == 22 || (id >= 27 && id <= 36) || (id >= 50 && id <= 58))
        return TDateKind::Date;
    if ((id >= 18 && id <= 21) || (id >= 45 && id <= 47)) return TDateKind::Time;
    return TDateKind::None;
}

QString FormattedNumber(double value, TDateKind kind, bool date1904) {
    if (kind == TDateKind::None) return NumberText(value);
    return SerialDateText(value + (date1904 ? 1462 : 0), kind == TDateKind::Time && value < 1);
}
