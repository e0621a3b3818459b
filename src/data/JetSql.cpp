#include "data/JetSql.h"

#include "common/UException.h"
#include "data/JetFunctions.h"
#include "data/MD.h"

#include <QHash>
#include <QSet>
#include <map>
#include <sqlite3.h>
#include <vector>

namespace {

enum class K { Space, Ident, Bracket, String, Number, Op, LParen, RParen, Comma, Dot, Semicolon, Other };

struct Tok {
    K kind;
    QString text;
};

bool IsIdentStart(QChar c) {
    return c.isLetter() || c == QLatin1Char('_') || c.unicode() > 127;
}
bool IsIdentChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c.unicode() > 127;
}

QString Quote(const QString& s) {
    return QLatin1Char('\'') + QuotedSql(s) + QLatin1Char('\'');
}

std::vector<Tok> Tokenize(const QString& sql) {
    std::vector<Tok> out;
    const int n = sql.size();
    int i = 0;
    auto unterminated = [] {
        throw EEngineError(QStringLiteral("Syntax error in string in query expression."));
    };
    while (i < n) {
        const QChar c = sql[i];
        if (c.isSpace()) {
            int k = i;
            while (k < n && sql[k].isSpace())
                ++k;
            out.push_back({K::Space, sql.mid(i, k - i)});
            i = k;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // Jet reads both quote kinds as text; a doubled quote stands for itself.
            QString value;
            int k = i + 1;
            for (;;) {
                if (k >= n) unterminated();
                if (sql[k] == c) {
                    if (k + 1 < n && sql[k + 1] == c) {
                        value += c;
                        k += 2;
                        continue;
                    }
                    break;
                }
                value += sql[k++];
            }
            out.push_back({K::String, Quote(value)});
            i = k + 1;
        } else if (c == QLatin1Char('[')) {
            const int k = sql.indexOf(QLatin1Char(']'), i);
            if (k < 0) throw EEngineError(QStringLiteral("Invalid bracketing of name."));
            QString name = sql.mid(i + 1, k - i - 1);
            name.replace(QLatin1Char('"'), QStringLiteral("\"\""));
            out.push_back({K::Bracket, QLatin1Char('"') + name + QLatin1Char('"')});
            i = k + 1;
        } else if (c == QLatin1Char('#')) {
            const int k = sql.indexOf(QLatin1Char('#'), i + 1);
            double days = 0;
            if (k < 0 || !ParseDateText(sql.mid(i + 1, k - i - 1), days))
                throw EEngineError(QStringLiteral("Syntax error in date in query expression."));
            out.push_back({K::Number, NumberToText(days)});
            i = k + 1;
        } else if (c.isDigit() && c.unicode() < 128) {
            int k = i;
            while (k < n && ((sql[k].isDigit() && sql[k].unicode() < 128) || sql[k] == QLatin1Char('.')))
                ++k;
            if (k < n && (sql[k] == QLatin1Char('e') || sql[k] == QLatin1Char('E'))) {
                int e = k + 1;
                if (e < n && (sql[e] == QLatin1Char('+') || sql[e] == QLatin1Char('-'))) ++e;
                if (e < n && sql[e].isDigit()) {
                    k = e;
                    while (k < n && sql[k].isDigit())
                        ++k;
                }
            }
            out.push_back({K::Number, sql.mid(i, k - i)});
            i = k;
        } else if (IsIdentStart(c)) {
            int k = i;
            while (k < n && IsIdentChar(sql[k]))
                ++k;
            out.push_back({K::Ident, sql.mid(i, k - i)});
            i = k;
        } else if (c == QLatin1Char('(')) {
            out.push_back({K::LParen, QStringLiteral("(")});
            ++i;
        } else if (c == QLatin1Char(')')) {
            out.push_back({K::RParen, QStringLiteral(")")});
            ++i;
        } else if (c == QLatin1Char(',')) {
            out.push_back({K::Comma, QStringLiteral(",")});
            ++i;
        } else if (c == QLatin1Char('.')) {
            out.push_back({K::Dot, QStringLiteral(".")});
            ++i;
        } else if (c == QLatin1Char(';')) {
            out.push_back({K::Semicolon, QStringLiteral(";")});
            ++i;
        } else {
            static const QString two[] = {QStringLiteral("<>"), QStringLiteral("<="), QStringLiteral(">="),
                                          QStringLiteral("!="), QStringLiteral("||")};
            bool matched = false;
            for (const QString& op : two) {
                if (sql.mid(i, 2) == op) {
                    out.push_back({K::Op, op});
                    i += 2;
                    matched = true;
                    break;
                }
            }
            if (!matched) {
                out.push_back({c == QLatin1Char('*') || c == QLatin1Char('+') || c == QLatin1Char('-') ||
                                       c == QLatin1Char('/') || c == QLatin1Char('=') ||
                                       c == QLatin1Char('<') || c == QLatin1Char('>') ||
                                       c == QLatin1Char('&') || c == QLatin1Char('\\')
                                   ? K::Op
                                   : K::Other,
                               QString(c)});
                ++i;
            }
        }
    }
    return out;
}

bool Is(const Tok& t, const char* word) {
    return t.kind == K::Ident && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool IsKeyword(const Tok& t) {
    static const QSet<QString> words = {
        QStringLiteral("select"),   QStringLiteral("from"),    QStringLiteral("where"),
        QStringLiteral("and"),      QStringLiteral("or"),      QStringLiteral("not"),
        QStringLiteral("as"),       QStringLiteral("like"),    QStringLiteral("is"),
        QStringLiteral("in"),       QStringLiteral("between"), QStringLiteral("order"),
        QStringLiteral("by"),       QStringLiteral("group"),   QStringLiteral("having"),
        QStringLiteral("on"),       QStringLiteral("join"),    QStringLiteral("inner"),
        QStringLiteral("left"),     QStringLiteral("right"),   QStringLiteral("outer"),
        QStringLiteral("into"),     QStringLiteral("values"),  QStringLiteral("set"),
        QStringLiteral("update"),   QStringLiteral("insert"),  QStringLiteral("delete"),
        QStringLiteral("distinct"), QStringLiteral("top"),     QStringLiteral("asc"),
        QStringLiteral("desc"),     QStringLiteral("union"),   QStringLiteral("all"),
        QStringLiteral("alter"),    QStringLiteral("table"),   QStringLiteral("add"),
        QStringLiteral("drop"),     QStringLiteral("column"),  QStringLiteral("case"),
        QStringLiteral("when"),     QStringLiteral("then"),    QStringLiteral("else"),
        QStringLiteral("end"),      QStringLiteral("exists"),  QStringLiteral("limit"),
        QStringLiteral("mod"),      QStringLiteral("escape"),  QStringLiteral("distinctrow"),
        QStringLiteral("create"),   QStringLiteral("index"),   QStringLiteral("cross"),
        QStringLiteral("offset")};
    return t.kind == K::Ident && words.contains(t.text.toLower());
}

// Jet function names and what they are called here. Left/Right need care: they are also join keywords,
// so they are renamed only when a "(" follows.
const QHash<QString, QString>& FunctionMap() {
    static const QHash<QString, QString> map = {
        {QStringLiteral("date"), QStringLiteral("jet_date")},
        {QStringLiteral("time"), QStringLiteral("jet_time")},
        {QStringLiteral("now"), QStringLiteral("jet_now")},
        {QStringLiteral("hour"), QStringLiteral("jet_hour")},
        {QStringLiteral("minute"), QStringLiteral("jet_minute")},
        {QStringLiteral("second"), QStringLiteral("jet_second")},
        {QStringLiteral("day"), QStringLiteral("jet_day")},
        {QStringLiteral("month"), QStringLiteral("jet_month")},
        {QStringLiteral("year"), QStringLiteral("jet_year")},
        {QStringLiteral("weekday"), QStringLiteral("jet_weekday")},
        {QStringLiteral("format"), QStringLiteral("jet_format")},
        {QStringLiteral("str"), QStringLiteral("jet_str")},
        {QStringLiteral("left"), QStringLiteral("jet_left")},
        {QStringLiteral("right"), QStringLiteral("jet_right")},
        {QStringLiteral("cstr"), QStringLiteral("jet_cstr")},
        {QStringLiteral("val"), QStringLiteral("jet_val")},
        {QStringLiteral("int"), QStringLiteral("jet_int")},
        {QStringLiteral("fix"), QStringLiteral("jet_int")},
        {QStringLiteral("cdate"), QStringLiteral("jet_cdate")},
        {QStringLiteral("datevalue"), QStringLiteral("jet_cdate")},
        {QStringLiteral("len"), QStringLiteral("length")},
        {QStringLiteral("ucase"), QStringLiteral("upper")},
        {QStringLiteral("lcase"), QStringLiteral("lower")},
        {QStringLiteral("mid"), QStringLiteral("substr")},
        {QStringLiteral("nz"), QStringLiteral("ifnull")},
        {QStringLiteral("iif"), QStringLiteral("iif")},
        {QStringLiteral("clng"), QStringLiteral("jet_int")},
        {QStringLiteral("cint"), QStringLiteral("jet_int")},
        {QStringLiteral("cdbl"), QStringLiteral("jet_val")},
        {QStringLiteral("ccur"), QStringLiteral("jet_val")},
    };
    return map;
}

class Translator {
public:
    Translator(std::vector<Tok> toks, sqlite3* db) : t(std::move(toks)), m_db(db) {}

    QString Run() {
        RewriteTop();
        RewriteAlter();
        return Walk(0, int(t.size()));
    }

private:
    std::vector<Tok> t;
    sqlite3* m_db;
    std::map<QString, bool> m_columnWords;

    // Whether a bare word names a column of one of the tables the statement mentions (every name in it is
    // tried as a table; the engine knows which are).
    bool IsColumnOfStatement(const QString& word) {
        if (!m_db) return false;
        const QString key = word.toLower();
        const auto known = m_columnWords.find(key);
        if (known != m_columnWords.end()) return known->second;
        bool found = false;
        const QByteArray column = word.toUtf8();
        QSet<QString> tried;
        for (const Tok& tok : t) {
            if (tok.kind != K::Ident && tok.kind != K::Bracket) continue;
            QString name = tok.text;
            if (tok.kind == K::Bracket)
                name = name.mid(1, name.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
            if (tried.contains(name.toLower())) continue;
            tried.insert(name.toLower());
            if (sqlite3_table_column_metadata(m_db, "main", name.toUtf8().constData(), column.constData(),
                                              nullptr, nullptr, nullptr, nullptr, nullptr) == SQLITE_OK) {
                found = true;
                break;
            }
        }
        m_columnWords[key] = found;
        return found;
    }

    int NextSig(int i, int end) const {
        while (i < end && t[size_t(i)].kind == K::Space)
            ++i;
        return i;
    }

    int MatchParen(int open) const {
        int depth = 0;
        for (int i = open; i < int(t.size()); ++i) {
            if (t[size_t(i)].kind == K::LParen)
                ++depth;
            else if (t[size_t(i)].kind == K::RParen && --depth == 0)
                return i;
        }
        throw EEngineError(QStringLiteral("Missing ), ], or Item in query expression."));
    }

    // "select [distinct] top N ..." becomes "select [distinct] ... LIMIT N" at the end of that select.
    void RewriteTop() {
        for (int i = 0; i < int(t.size()); ++i) {
            if (!Is(t[size_t(i)], "select")) continue;
            int j = NextSig(i + 1, int(t.size()));
            if (j < int(t.size()) &&
                (Is(t[size_t(j)], "distinct") || Is(t[size_t(j)], "distinctrow") || Is(t[size_t(j)], "all")))
                j = NextSig(j + 1, int(t.size()));
            if (j >= int(t.size()) || !Is(t[size_t(j)], "top")) continue;
            const int numIdx = NextSig(j + 1, int(t.size()));
            if (numIdx >= int(t.size()) || t[size_t(numIdx)].kind != K::Number)
                throw EEngineError(
                    QStringLiteral("The SELECT statement includes a reserved word or an argument name that "
                                   "is misspelled or missing, or the punctuation is incorrect."));
            const QString count = t[size_t(numIdx)].text;
            if (count.contains(QLatin1Char('.')))
                throw EEngineError(
                    QStringLiteral("The SELECT statement includes a reserved word or an argument name that "
                                   "is misspelled or missing, or the punctuation is incorrect."));
            // end of this select: the ")" that closes its level, or the end of the statement
            int depth = 0, end = int(t.size());
            for (int k = numIdx + 1; k < int(t.size()); ++k) {
                if (t[size_t(k)].kind == K::LParen)
                    ++depth;
                else if (t[size_t(k)].kind == K::RParen && depth-- == 0) {
                    end = k;
                    break;
                } else if (t[size_t(k)].kind == K::Semicolon && depth == 0) {
                    end = k;
                    break;
                }
            }
            t.insert(t.begin() + end, {K::Other, QStringLiteral(" LIMIT ") + count + QLatin1Char(' ')});
            t[size_t(j)] = {K::Space, QStringLiteral(" ")};
            t[size_t(numIdx)] = {K::Space, QStringLiteral(" ")};
        }
    }

    // "alter table T add C type[(n)]" must name exactly one column; "alter table T drop C" drops a column.
    void RewriteAlter() {
        std::vector<int> sig;
        for (int i = 0; i < int(t.size()); ++i)
            if (t[size_t(i)].kind != K::Space) sig.push_back(i);
        if (sig.size() < 2 || !Is(t[size_t(sig[0])], "alter") || !Is(t[size_t(sig[1])], "table")) return;
        auto fail = [] { throw EEngineError(QStringLiteral("Syntax error in field definition.")); };
        if (sig.size() < 5) fail();
        size_t p = 3;
        const Tok& verb = t[size_t(sig[p])];
        const bool add = Is(verb, "add");
        if (!add && !Is(verb, "drop")) return; // other forms go to the engine as they are
        ++p;
        bool hasColumnWord = false;
        if (p < sig.size() && Is(t[size_t(sig[p])], "column")) {
            hasColumnWord = true;
            ++p;
        }
        if (p >= sig.size() || (t[size_t(sig[p])].kind != K::Ident && t[size_t(sig[p])].kind != K::Bracket) ||
            IsKeyword(t[size_t(sig[p])]))
            fail();
        const size_t namePos = p++;
        // The column's name is a name, whatever word it is (No, Yes, True, False).
        Tok& nameTok = t[size_t(sig[namePos])];
        if (nameTok.kind == K::Ident)
            nameTok = {K::Bracket, QLatin1Char('"') + nameTok.text + QLatin1Char('"')};
        if (add) {
            // exactly: a type name, optionally (n) or (n,m)
            if (p >= sig.size() || t[size_t(sig[p])].kind != K::Ident) fail();
            ++p;
            if (p < sig.size() && t[size_t(sig[p])].kind == K::LParen) {
                ++p;
                if (p >= sig.size() || t[size_t(sig[p])].kind != K::Number) fail();
                ++p;
                if (p < sig.size() && t[size_t(sig[p])].kind == K::Comma) {
                    p += 2;
                }
                if (p >= sig.size() || t[size_t(sig[p])].kind != K::RParen) fail();
                ++p;
            }
            if (p < sig.size() && t[size_t(sig[p])].kind == K::Semicolon) ++p;
            if (p != sig.size()) fail();
        } else {
            if (p < sig.size() && t[size_t(sig[p])].kind == K::Semicolon) ++p;
            if (p != sig.size()) fail();
            if (!hasColumnWord) t[size_t(sig[namePos])].text.prepend(QStringLiteral("COLUMN "));
        }
    }

    bool StartsOperand(int i) const {
        const Tok& tok = t[size_t(i)];
        switch (tok.kind) {
        case K::Ident:
            if (Is(tok, "left") || Is(tok, "right")) { // the functions, not the join words
                const int j = NextSig(i + 1, int(t.size()));
                return j < int(t.size()) && t[size_t(j)].kind == K::LParen;
            }
            return !IsKeyword(tok);
        case K::Bracket:
        case K::String:
        case K::Number:
        case K::LParen:
            return true;
        case K::Op:
            return tok.text == QLatin1String("-") || tok.text == QLatin1String("+");
        default:
            return false;
        }
    }

    // One operand: a literal, a (qualified) name, a function call, a parenthesised expression, or a signed
    // one.
    bool Primary(int& i, int end, QString& out) {
        i = NextSig(i, end);
        if (i >= end) return false;
        const Tok& tok = t[size_t(i)];
        if (tok.kind == K::Op && (tok.text == QLatin1String("-") || tok.text == QLatin1String("+"))) {
            int j = i + 1;
            QString inner;
            if (!Primary(j, end, inner)) return false;
            out = (tok.text == QLatin1String("-") ? QStringLiteral("-") : QString()) + inner;
            i = j;
            return true;
        }
        if (tok.kind == K::LParen) {
            const int close = MatchParen(i);
            out = QLatin1Char('(') + Walk(i + 1, close) + QLatin1Char(')');
            i = close + 1;
            return true;
        }
        if (tok.kind == K::String || tok.kind == K::Number) {
            out = tok.text;
            ++i;
            return true;
        }
        if (tok.kind == K::Ident && (Is(tok, "true") || Is(tok, "yes")) && !IsColumnOfStatement(tok.text)) {
            out = QStringLiteral("-1");
            ++i;
            return true;
        }
        if (tok.kind == K::Ident && (Is(tok, "false") || Is(tok, "no")) && !IsColumnOfStatement(tok.text)) {
            out = QStringLiteral("0");
            ++i;
            return true;
        }
        if ((tok.kind == K::Ident && !IsKeyword(tok)) || tok.kind == K::Bracket ||
            (tok.kind == K::Ident && (Is(tok, "left") || Is(tok, "right")))) {
            int j = NextSig(i + 1, end);
            if (tok.kind == K::Ident && j < end && t[size_t(j)].kind == K::LParen) {
                const int close = MatchParen(j);
                const QString mapped = FunctionMap().value(tok.text.toLower(), tok.text);
                out = mapped + QLatin1Char('(') + Walk(j + 1, close) + QLatin1Char(')');
                i = close + 1;
                return true;
            }
            if (tok.kind == K::Ident && IsKeyword(tok)) return false; // LEFT/RIGHT as join words
            out = tok.text;
            i = i + 1;
            // qualified names: a.b, [x].[y], a.*
            for (;;) {
                const int dot = i; // no blanks inside a qualified name
                if (dot < end && t[size_t(dot)].kind == K::Dot && dot + 1 < end &&
                    (t[size_t(dot + 1)].kind == K::Ident || t[size_t(dot + 1)].kind == K::Bracket ||
                     (t[size_t(dot + 1)].kind == K::Op && t[size_t(dot + 1)].text == QLatin1String("*")))) {
                    out += QLatin1Char('.') + t[size_t(dot + 1)].text;
                    i = dot + 2;
                } else {
                    break;
                }
            }
            return true;
        }
        return false;
    }

    bool PeekOp(int i, int end, const QStringList& ops, int& at, QString& which) const {
        at = NextSig(i, end);
        if (at >= end) return false;
        const Tok& tok = t[size_t(at)];
        if (tok.kind == K::Op && ops.contains(tok.text)) {
            which = tok.text;
            return true;
        }
        if (tok.kind == K::Ident && ops.contains(tok.text.toLower())) {
            which = tok.text.toLower();
            return true;
        }
        return false;
    }

    bool Term(int& i, int end, QString& out) {
        if (!Primary(i, end, out)) return false;
        static const QStringList ops = {QStringLiteral("*"), QStringLiteral("/"), QStringLiteral("\\"),
                                        QStringLiteral("mod")};
        int at = 0;
        QString op;
        while (PeekOp(i, end, ops, at, op)) {
            int j = at + 1;
            QString rhs;
            if (!Primary(j, end, rhs)) break;
            if (op == QLatin1String("/"))
                out = QStringLiteral("jet_div(") + out + QLatin1Char(',') + rhs + QLatin1Char(')');
            else if (op == QLatin1String("\\"))
                out = QStringLiteral("(jet_int(") + out + QStringLiteral(")/jet_int(") + rhs +
                      QStringLiteral("))");
            else if (op == QLatin1String("mod"))
                out = QLatin1Char('(') + out + QLatin1Char('%') + rhs + QLatin1Char(')');
            else
                out = QLatin1Char('(') + out + QLatin1Char('*') + rhs + QLatin1Char(')');
            i = j;
        }
        return true;
    }

    bool Additive(int& i, int end, QString& out) {
        if (!Term(i, end, out)) return false;
        static const QStringList ops = {QStringLiteral("+"), QStringLiteral("-")};
        int at = 0;
        QString op;
        while (PeekOp(i, end, ops, at, op)) {
            int j = at + 1;
            QString rhs;
            if (!Term(j, end, rhs)) break;
            out = op == QLatin1String("+")
                      ? QStringLiteral("jet_add(") + out + QLatin1Char(',') + rhs + QLatin1Char(')')
                      : QLatin1Char('(') + out + QLatin1Char('-') + rhs + QLatin1Char(')');
            i = j;
        }
        return true;
    }

    bool Concat(int& i, int end, QString& out) {
        if (!Additive(i, end, out)) return false;
        static const QStringList ops = {QStringLiteral("&")};
        int at = 0;
        QString op;
        while (PeekOp(i, end, ops, at, op)) {
            int j = at + 1;
            QString rhs;
            if (!Additive(j, end, rhs)) break;
            out = QStringLiteral("jet_cat(") + out + QLatin1Char(',') + rhs + QLatin1Char(')');
            i = j;
        }
        return true;
    }

    QString Walk(int begin, int end) {
        QString out;
        bool operandAllowed = true;
        int i = begin;
        while (i < end) {
            const Tok& tok = t[size_t(i)];
            if (tok.kind == K::Space) {
                out += tok.text;
                ++i;
                continue;
            }
            if (operandAllowed && StartsOperand(i)) {
                int j = i;
                QString expr;
                if (Concat(j, end, expr) && j > i) {
                    out += expr;
                    i = j;
                    operandAllowed = false;
                    continue;
                }
            }
            if (tok.kind == K::LParen) {
                const int close = MatchParen(i);
                out += QLatin1Char('(') + Walk(i + 1, close) + QLatin1Char(')');
                i = close + 1;
                operandAllowed = false;
                continue;
            }
            out += tok.text;
            // after a keyword, an operator or a comma a new operand may start
            operandAllowed = tok.kind != K::RParen && !(tok.kind == K::Ident && !IsKeyword(tok));
            ++i;
        }
        return out;
    }
};

} // namespace

QString TranslateJetSql(const QString& jetSql, sqlite3* db) {
    return Translator(Tokenize(jetSql), db).Run();
}
