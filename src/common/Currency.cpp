#include "common/Currency.h"

#include <cmath>

TCurrency TCurrency::FromDouble(double value) {
    return FromUnits(std::llround(value * 10000.0));
}

bool TCurrency::TryParse(const QString& text, TCurrency& out) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return false;
    int i = 0;
    bool negative = false;
    if (t[0] == QLatin1Char('-') || t[0] == QLatin1Char('+')) {
        negative = t[0] == QLatin1Char('-');
        ++i;
    }
    int64_t whole = 0, frac = 0;
    int fracDigits = 0, digits = 0;
    bool seenPoint = false, roundUp = false;
    for (; i < t.size(); ++i) {
        const QChar ch = t[i];
        if (ch == QLatin1Char('.') && !seenPoint) {
            seenPoint = true;
            continue;
        }
        if (!ch.isDigit() || ch.unicode() > '9') break;
        const int d = ch.unicode() - '0';
        ++digits;
        if (!seenPoint) {
            if (whole > (INT64_MAX / 10000 - 9) / 10) return false;
            whole = whole * 10 + d;
        } else if (fracDigits < 4) {
            frac = frac * 10 + d;
            ++fracDigits;
        } else if (fracDigits == 4) {
            roundUp = d >= 5;
            ++fracDigits;
        }
    }
    if (digits == 0) return false;
    if (i < t.size()) {
        // allow an exponent form such as "1e+20" only through the floating path
        bool ok = false;
        const double d = t.toDouble(&ok);
        if (!ok) return false;
        out = FromDouble(d);
        return true;
    }
    while (fracDigits < 4) {
        frac *= 10;
        ++fracDigits;
    }
    int64_t units = whole * 10000 + frac + (roundUp ? 1 : 0);
    out = FromUnits(negative ? -units : units);
    return true;
}

QString TCurrency::ToString() const {
    const bool negative = m_units < 0;
    const uint64_t a = negative ? uint64_t(0) - uint64_t(m_units) : uint64_t(m_units);
    QString s = QString::number(a / 10000);
    uint64_t frac = a % 10000;
    if (frac) {
        QString f = QString::number(frac).rightJustified(4, QLatin1Char('0'));
        while (f.endsWith(QLatin1Char('0')))
            f.chop(1);
        s += QLatin1Char('.') + f;
    }
    return negative ? QLatin1Char('-') + s : s;
}
