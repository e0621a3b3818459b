#include "data/JetFunctions.h"

#include "common/Seams.h"
#include "common/UException.h"

#include <QLocale>
#include <QRegularExpression>
#include <charconv>
#include <cmath>
#include <sqlite3.h>

namespace {

const QDate kEpoch(1899, 12, 30);

QString TypeMismatch() {
    return QStringLiteral("Data type mismatch in criteria expression.");
}

// ---- value helpers on sqlite3_value ----

bool IsNumericText(const QString& t, double& out) {
    bool ok = false;
    const QString s = t.trimmed();
    if (s.isEmpty()) return false;
    out = s.toDouble(&ok);
    return ok;
}

// A numeric view of an argument: numbers as they are, numeric text converted, date text as its day number.
bool ArgNumber(sqlite3_value* v, double& out) {
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        out = sqlite3_value_double(v);
        return true;
    case SQLITE_TEXT: {
        const QString t =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
        return IsNumericText(t, out) || ParseDateText(t, out);
    }
    default:
        return false;
    }
}

QString ArgText(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return QString::number(sqlite3_value_int64(v));
    case SQLITE_FLOAT:
        return NumberToText(sqlite3_value_double(v));
    case SQLITE_NULL:
        return {};
    default:
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(v)),
                                 sqlite3_value_bytes(v));
    }
}

void ResultText(sqlite3_context* ctx, const QString& s) {
    const QByteArray u = s.toUtf8();
    sqlite3_result_text(ctx, u.constData(), u.size(), SQLITE_TRANSIENT);
}

void ResultError(sqlite3_context* ctx, const QString& s) {
    const QByteArray u = s.toUtf8();
    sqlite3_result_error(ctx, u.constData(), u.size());
}

// Functions of one date-time argument: a NULL gives NULL, a value that is no date is a type mismatch.
template <class F> void DatePart(sqlite3_context* ctx, sqlite3_value* v, F f) {
    if (sqlite3_value_type(v) == SQLITE_NULL) return sqlite3_result_null(ctx);
    double d = 0;
    if (!ArgNumber(v, d)) return ResultError(ctx, TypeMismatch());
    sqlite3_result_int(ctx, f(DaysToDateTime(d)));
}

void FnDate(sqlite3_context* ctx, int, sqlite3_value**) {
    sqlite3_result_double(ctx, std::floor(DateTimeToDays(Now())));
}
void FnTime(sqlite3_context* ctx, int, sqlite3_value**) {
    const double d = DateTimeToDays(Now());
    sqlite3_result_double(ctx, d - std::floor(d));
}
void FnNow(sqlite3_context* ctx, int, sqlite3_value**) {
    sqlite3_result_double(ctx, DateTimeToDays(Now()));
}
void FnHour(sqlite3_context* c, int, sqlite3_value** a) {
    DatePart(c, a[0], [](const QDateTime& t) { return t.time().hour(); });
}
void FnMinute(sqlite3_context* c, int, sqlite3_value** a) {
    DatePart(c, a[0], [](const QDateTime& t) { return t.time().minute(); });
}
void FnSecond(sqlite3_context* c, int, sqlite3_value** a) {
    DatePart(c, a[0], [](const QDateTime& t) { return t.time().second(); });
}
void FnDay(sqlite3_context* c, int, sqlite3_value** a) {
    DatePart(c, a[0], [](const QDateTime& t) { return t.date().day(); });
}
void FnMonth(sqlite3_context* c, int, sqlite3_value** a) {
    DatePart(c, a[0], [](const QDateTime& t) { return t.date().month(); });
}
void FnYear(sqlite3_context* c, int, sqlite3_value** a) {
    DatePart(c, a[0], [](const QDateTime& t) { return t.date().year(); });
}
// 1 = Sunday ... 7 = Saturday
void FnWeekDay(sqlite3_context* c, int, sqlite3_value** a) {
    DatePart(c, a[0], [](const QDateTime& t) { return t.date().dayOfWeek() % 7 + 1; });
}

void FnFormat(sqlite3_context* ctx, int argc, sqlite3_value** a) {
    if (sqlite3_value_type(a[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    const QString pattern = argc > 1 ? ArgText(a[1]) : QString();
    double d = 0;
    static const QRegularExpression dateTokens(QStringLiteral("[ymdhns]"),
                                               QRegularExpression::CaseInsensitiveOption);
    if (!pattern.isEmpty() && pattern.contains(dateTokens) && ArgNumber(a[0], d))
        return ResultText(ctx, FormatDays(d, pattern));
    ResultText(ctx, ArgText(a[0]));
}

// Str(n): one blank for the sign of a non-negative number.
void FnStr(sqlite3_context* ctx, int, sqlite3_value** a) {
    if (sqlite3_value_type(a[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    double d = 0;
    if (!ArgNumber(a[0], d)) return ResultError(ctx, TypeMismatch());
    const QString digits = sqlite3_value_type(a[0]) == SQLITE_INTEGER
                               ? QString::number(sqlite3_value_int64(a[0]))
                               : NumberToText(d);
    ResultText(ctx, d < 0 ? digits : QLatin1Char(' ') + digits);
}

// Jet's "+": two texts concatenate, a NULL gives NULL, otherwise numbers add (numeric text counts as number).
void FnAdd(sqlite3_context* ctx, int, sqlite3_value** a) {
    const int t0 = sqlite3_value_type(a[0]), t1 = sqlite3_value_type(a[1]);
    if (t0 == SQLITE_NULL || t1 == SQLITE_NULL) return sqlite3_result_null(ctx);
    if (t0 == SQLITE_TEXT && t1 == SQLITE_TEXT) {
        const int n0 = sqlite3_value_bytes(a[0]), n1 = sqlite3_value_bytes(a[1]);
        std::string s(reinterpret_cast<const char*>(sqlite3_value_text(a[0])), size_t(n0));
        s.append(reinterpret_cast<const char*>(sqlite3_value_text(a[1])), size_t(n1));
        return sqlite3_result_text(ctx, s.data(), int(s.size()), SQLITE_TRANSIENT);
    }
    if (t0 == SQLITE_INTEGER && t1 == SQLITE_INTEGER) {
        long long r = 0;
        if (!__builtin_add_overflow(sqlite3_value_int64(a[0]), sqlite3_value_int64(a[1]), &r))
            return sqlite3_result_int64(ctx, r);
    }
    double x = 0, y = 0;
    auto num = [](sqlite3_value* v, double& out) {
        const int t = sqlite3_value_type(v);
        if (t == SQLITE_INTEGER || t == SQLITE_FLOAT) {
            out = sqlite3_value_double(v);
            return true;
        }
        const QString s =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
        return IsNumericText(s, out);
    };
    if (!num(a[0], x) || !num(a[1], y)) return ResultError(ctx, TypeMismatch());
    const double r = x + y;
    if (r == std::floor(r) && std::fabs(r) < 9.0e15 && t0 != SQLITE_FLOAT && t1 != SQLITE_FLOAT)
        return sqlite3_result_int64(ctx, static_cast<long long>(r));
    sqlite3_result_double(ctx, r);
}

// Jet's "&": concatenation with NULL as the empty text.
void FnCat(sqlite3_context* ctx, int, sqlite3_value** a) {
    if (sqlite3_value_type(a[0]) == SQLITE_NULL && sqlite3_value_type(a[1]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    ResultText(ctx, ArgText(a[0]) + ArgText(a[1]));
}

// "/" always divides as real numbers.
void FnDiv(sqlite3_context* ctx, int, sqlite3_value** a) {
    if (sqlite3_value_type(a[0]) == SQLITE_NULL || sqlite3_value_type(a[1]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    double x = 0, y = 0;
    if (!ArgNumber(a[0], x) || !ArgNumber(a[1], y)) return ResultError(ctx, TypeMismatch());
    if (y == 0) return ResultError(ctx, QStringLiteral("Division by zero"));
    sqlite3_result_double(ctx, x / y);
}

void FnLeft(sqlite3_context* ctx, int, sqlite3_value** a) {
    if (sqlite3_value_type(a[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    ResultText(ctx, ArgText(a[0]).left(sqlite3_value_int(a[1])));
}
void FnRight(sqlite3_context* ctx, int, sqlite3_value** a) {
    if (sqlite3_value_type(a[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    ResultText(ctx, ArgText(a[0]).right(sqlite3_value_int(a[1])));
}
void FnCStr(sqlite3_context* ctx, int, sqlite3_value** a) {
    if (sqlite3_value_type(a[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    ResultText(ctx, ArgText(a[0]));
}
void FnVal(sqlite3_context* ctx, int, sqlite3_value** a) {
    static const QRegularExpression lead(QStringLiteral("^\\s*[-+]?(\\d+\\.?\\d*|\\.\\d+)"));
    const auto m = lead.match(ArgText(a[0]));
    sqlite3_result_double(ctx, m.hasMatch() ? m.captured(0).trimmed().toDouble() : 0.0);
}
void FnInt(sqlite3_context* ctx, int, sqlite3_value** a) {
    if (sqlite3_value_type(a[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    double d = 0;
    if (!ArgNumber(a[0], d)) return ResultError(ctx, TypeMismatch());
    sqlite3_result_int64(ctx, static_cast<long long>(std::floor(d)));
}
void FnCDate(sqlite3_context* ctx, int, sqlite3_value** a) {
    if (sqlite3_value_type(a[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    double d = 0;
    if (!ArgNumber(a[0], d)) return ResultError(ctx, TypeMismatch());
    sqlite3_result_double(ctx, d);
}

// Used by the triggers of date-time columns: a date text written into such a column becomes its day number.
void FnCvDate(sqlite3_context* ctx, int, sqlite3_value** a) {
    if (sqlite3_value_type(a[0]) != SQLITE_TEXT) {
        sqlite3_result_value(ctx, a[0]);
        return;
    }
    const QString t = ArgText(a[0]);
    double d = 0;
    if (t.trimmed().isEmpty()) return sqlite3_result_null(ctx);
    if (IsNumericText(t, d) || ParseDateText(t, d)) return sqlite3_result_double(ctx, d);
    ResultError(ctx, TypeMismatch());
}

int ToTwoDigitYear(int year) {
    return year < 30 ? 2000 + year : (year < 100 ? 1900 + year : year);
}

} // namespace

double DateTimeToDays(const QDateTime& dt) {
    // Moments are kept to the second, as the day numbers the program writes into SQL text: in the shortest
    // form with 15 significant digits, so that a period's end written as text equals a moment stamped in
    // that very second.
    const double whole = double(kEpoch.daysTo(dt.date()));
    const double frac = (dt.time().msecsSinceStartOfDay() / 1000) / 86400.0;
    return QString::number(whole + frac, 'g', 15).toDouble();
}

QDateTime DaysToDateTime(double days) {
    // Round to the second; a value just below midnight belongs to the next day.
    const long long secs = std::llround(days * 86400.0);
    long long whole = secs / 86400;
    long long rest = secs % 86400;
    if (rest < 0) {
        rest += 86400;
        --whole;
    }
    return QDateTime(kEpoch.addDays(whole), QTime(0, 0).addSecs(int(rest)));
}

bool ParseDateText(const QString& text, double& days) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return false;
    static const QRegularExpression iso(QStringLiteral(
        "^(\\d{4})[-/.](\\d{1,2})[-/.](\\d{1,2})(?:[ T](\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?)?$"));
    auto m = iso.match(t);
    if (m.hasMatch()) {
        const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        QTime tm(0, 0);
        if (!m.captured(4).isEmpty())
            tm = QTime(m.captured(4).toInt(), m.captured(5).toInt(),
                       m.captured(6).isEmpty() ? 0 : m.captured(6).toInt());
        if (!d.isValid() || !tm.isValid()) return false;
        days = DateTimeToDays(QDateTime(d, tm));
        return true;
    }
    // The user's short date form, optionally followed by a time.
    const QLocale loc = QLocale::system();
    const QString shortFmt = loc.dateFormat(QLocale::ShortFormat);
    for (const QString& candidate : {t, t.section(QLatin1Char(' '), 0, 0)}) {
        QDate d = loc.toDate(candidate, shortFmt);
        if (!d.isValid()) d = QLocale::c().toDate(candidate, shortFmt);
        if (!d.isValid()) continue;
        if (!shortFmt.contains(QStringLiteral("yyyy"), Qt::CaseInsensitive))
            d = QDate(ToTwoDigitYear(d.year() % 100), d.month(), d.day());
        QTime tm(0, 0);
        if (candidate != t) {
            const QString timePart = t.section(QLatin1Char(' '), 1).trimmed();
            tm = QTime::fromString(timePart, QStringLiteral("h:m:s"));
            if (!tm.isValid()) tm = QTime::fromString(timePart, QStringLiteral("h:m"));
            if (!tm.isValid()) return false;
        }
        days = DateTimeToDays(QDateTime(d, tm));
        return true;
    }
    return false;
}

QString DaysToText(double days) {
    const QDateTime dt = DaysToDateTime(days);
    if (dt.time() == QTime(0, 0)) return dt.date().toString(QStringLiteral("yyyy-MM-dd"));
    return dt.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

QString NumberToText(double value) {
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<long long>(value));
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    return QString::fromLatin1(buf, int(res.ptr - buf));
}

QString FormatDays(double days, const QString& pattern) {
    const QDateTime dt = DaysToDateTime(days);
    const QDate d = dt.date();
    const QTime t = dt.time();
    QString out;
    bool afterHour = false;
    int i = 0;
    const int n = pattern.size();
    auto run = [&](QChar c) {
        int k = i;
        while (k < n && pattern[k].toLower() == c)
            ++k;
        return k - i;
    };
    while (i < n) {
        const QChar c = pattern[i].toLower();
        const int len = (c == QLatin1Char('y') || c == QLatin1Char('m') || c == QLatin1Char('d') ||
                         c == QLatin1Char('h') || c == QLatin1Char('n') || c == QLatin1Char('s'))
                            ? run(c)
                            : 0;
        auto two = [](int v) { return QString::number(v).rightJustified(2, QLatin1Char('0')); };
        if (c == QLatin1Char('y')) {
            out += len >= 3 ? QString::number(d.year()) : two(d.year() % 100);
        } else if (c == QLatin1Char('m')) {
            if (afterHour)
                out += len >= 2 ? two(t.minute()) : QString::number(t.minute());
            else
                out += len >= 2 ? two(d.month()) : QString::number(d.month());
        } else if (c == QLatin1Char('d')) {
            out += len >= 2 ? two(d.day()) : QString::number(d.day());
        } else if (c == QLatin1Char('h')) {
            out += len >= 2 ? two(t.hour()) : QString::number(t.hour());
        } else if (c == QLatin1Char('n')) {
            out += len >= 2 ? two(t.minute()) : QString::number(t.minute());
        } else if (c == QLatin1Char('s')) {
            out += len >= 2 ? two(t.second()) : QString::number(t.second());
        } else {
            out += pattern[i];
            ++i;
            continue;
        }
        afterHour = c == QLatin1Char('h');
        i += len;
    }
    return out;
}

void RegisterJetFunctions(sqlite3* db) {
    struct Fn {
        const char* name;
        int args;
        bool deterministic;
        void (*fn)(sqlite3_context*, int, sqlite3_value**);
    };
    static const Fn fns[] = {
        {"jet_date", 0, false, FnDate},    {"jet_time", 0, false, FnTime},
        {"jet_now", 0, false, FnNow},      {"jet_hour", 1, true, FnHour},
        {"jet_minute", 1, true, FnMinute}, {"jet_second", 1, true, FnSecond},
        {"jet_day", 1, true, FnDay},       {"jet_month", 1, true, FnMonth},
        {"jet_year", 1, true, FnYear},     {"jet_weekday", 1, true, FnWeekDay},
        {"jet_format", 1, true, FnFormat}, {"jet_format", 2, true, FnFormat},
        {"jet_str", 1, true, FnStr},       {"jet_add", 2, true, FnAdd},
        {"jet_cat", 2, true, FnCat},       {"jet_div", 2, true, FnDiv},
        {"jet_left", 2, true, FnLeft},     {"jet_right", 2, true, FnRight},
        {"jet_cstr", 1, true, FnCStr},     {"jet_val", 1, true, FnVal},
        {"jet_int", 1, true, FnInt},       {"jet_cdate", 1, true, FnCDate},
        {"jet_cvdate", 1, true, FnCvDate},
    };
    for (const Fn& f : fns) {
        const int flags = SQLITE_UTF8 | (f.deterministic ? SQLITE_DETERMINISTIC : 0);
        if (sqlite3_create_function_v2(db, f.name, f.args, flags, nullptr, f.fn, nullptr, nullptr, nullptr) !=
            SQLITE_OK)
            throw EEngineError(QString::fromUtf8(sqlite3_errmsg(db)));
    }
}
