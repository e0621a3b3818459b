#include "data/BatchText.h"

QStringList SplitBatch(const QString& text, const QString& separator) {
    QStringList pieces;
    if (separator.isEmpty()) return {text};
    const QChar* s = text.constData();
    const qsizetype n = text.size();
    const qsizetype m = separator.size();
    const QChar first = separator[0];
    qsizetype start = 0;
    QChar quote; // the quote or ']' that ends the quoted part we are in; null outside
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = s[i];
        if (!quote.isNull()) {
            // A doubled quote reads as leaving and entering again: the same state, no look-ahead needed.
            if (c == quote) quote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('[')) {
            quote = QLatin1Char(']');
        } else if (c == first && i + m <= n && QStringView(s + i, m) == separator) {
            pieces << text.mid(start, i - start);
            i += m - 1;
            start = i + 1;
        }
    }
    pieces << text.mid(start);
    return pieces;
}

bool IsTransactionStatement(const QString& statement) {
    qsizetype i = 0;
    const qsizetype n = statement.size();
    while (i < n && (statement[i].isSpace() || statement[i] == QLatin1Char(';') ||
                     statement[i].category() == QChar::Other_Control))
        ++i;
    qsizetype k = i;
    while (k < n && (statement[k].isLetter() || statement[k] == QLatin1Char('_')))
        ++k;
    const QString word = statement.mid(i, k - i).toLower();
    static const QStringList words = {QStringLiteral("begin"),     QStringLiteral("commit"),
                                      QStringLiteral("end"),       QStringLiteral("rollback"),
                                      QStringLiteral("savepoint"), QStringLiteral("release")};
    return words.contains(word);
}
