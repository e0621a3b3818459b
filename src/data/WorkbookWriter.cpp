#include "data/WorkbookWriter.h"

#include "common/UException.h"
#include "data/Engine.h"
#include "data/JetFunctions.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>
#include <xlsxwriter.h>

namespace {

// A cell holds at most this many characters (UTF-16 units); the library refuses a longer input string,
// counting its code points.
constexpr int kMaxCellChars = 32767;
constexpr double kMaxColumnWidth = 255;
constexpr int kSecondsPerDay = 86400;
// Day 61 is 1900-03-01. Before it, spreadsheet programs disagree about day numbers: Excel counts a
// 1900-02-29 that never was, LibreOffice does not. Such dates are written as text, which all read alike.
constexpr double kFirstCommonDay = 61;

void Check(lxw_error error) {
    if (error != LXW_NO_ERROR) throw EAppError(QString::fromUtf8(lxw_strerror(error)));
}

bool IsHex(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

// "_xHHHH_" starting at i, which a reader would take for an escaped character.
bool IsEscapeAt(const QString& text, qsizetype i) {
    if (i + 7 > text.size() || text[i + 1] != QLatin1Char('x') || text[i + 6] != QLatin1Char('_'))
        return false;
    for (qsizetype k = i + 2; k < i + 6; ++k)
        if (!IsHex(text[k])) return false;
    return true;
}

QString Escaped(char16_t u) {
    return QStringLiteral("_x") + QStringLiteral("%1").arg(uint(u), 4, 16, QLatin1Char('0')).toUpper() +
           QLatin1Char('_');
}

// Width of a text in spreadsheet character units: wide (CJK) characters take two.
double DisplayWidth(const QString& text) {
    double width = 0;
    for (const QChar c : text)
        width += c.unicode() >= 0x1100 ? 2 : 1;
    return width;
}

struct TWorkbookFree {
    void operator()(lxw_workbook* wb) const { lxw_workbook_free(wb); }
};

// "YYYY-MM-DD", the form the user's date fields are stored in, read without the general parser.
bool PlainDate(const QString& text, double& days) {
    if (text.size() != 10 || text[4] != QLatin1Char('-') || text[7] != QLatin1Char('-')) return false;
    int parts[3] = {0, 0, 0};
    for (int i = 0, part = 0; i < 10; ++i) {
        if (i == 4 || i == 7) {
            ++part;
            continue;
        }
        const char16_t u = text[i].unicode();
        if (u < u'0' || u > u'9') return false;
        parts[part] = parts[part] * 10 + (u - u'0');
    }
    const QDate date(parts[0], parts[1], parts[2]);
    if (!date.isValid()) return false;
    days = double(date.toJulianDay() - QDate(1899, 12, 30).toJulianDay());
    return true;
}

// A date column's values as day numbers; false for a value that is no date.
bool DayNumber(const TResultSet& rs, int row, int field, double& days) {
    if (rs.IsNumeric(row, field)) {
        days = rs.Value(row, field).toDouble();
        return std::isfinite(days);
    }
    const QString text = rs.Text(row, field).trimmed();
    return PlainDate(text, days) || ParseDateText(text, days);
}

bool HasTimeOfDay(double days) {
    return std::llround(days * kSecondsPerDay) % kSecondsPerDay != 0;
}

// Writes the cells of one sheet row by row.
class TSheetWriter {
public:
    TSheetWriter(lxw_workbook* workbook, const TResultSet& rs, const std::vector<TSheetColumn>& columns)
        : m_rs(rs), m_columns(columns), m_widths(columns.size(), 0), m_dateTime(columns.size(), false) {
        m_sheet = workbook_add_worksheet(workbook, nullptr);
        if (!m_sheet) throw EAppError(QString::fromUtf8(lxw_strerror(LXW_ERROR_CREATING_TMPFILE)));
        m_dateFormat = workbook_add_format(workbook);
        format_set_num_format(m_dateFormat, "yyyy-mm-dd");
        m_dateTimeFormat = workbook_add_format(workbook);
        format_set_num_format(m_dateTimeFormat, "yyyy-mm-dd hh:mm:ss");
        // A date column shows the time of day when any of its values has one.
        for (size_t c = 0; c < columns.size(); ++c) {
            if (columns[c].Kind != TCellKind::Date) continue;
            double days = 0;
            for (int r = 0; r < rs.RecordCount() && !m_dateTime[c]; ++r)
                if (!rs.IsNull(r, columns[c].Field) && DayNumber(rs, r, columns[c].Field, days))
                    m_dateTime[c] = HasTimeOfDay(days);
        }
    }

    void WriteTitles() {
        for (size_t c = 0; c < m_columns.size(); ++c)
            PutText(0, c, m_columns[c].Title);
    }

    void WriteRow(int row) {
        const lxw_row_t sheetRow = lxw_row_t(row + 1);
        for (size_t c = 0; c < m_columns.size(); ++c) {
            const int field = m_columns[c].Field;
            if (m_rs.IsNull(row, field)) continue;
            switch (m_columns[c].Kind) {
            case TCellKind::Number:
                PutNumber(sheetRow, c, row, field);
                break;
            case TCellKind::Date:
                PutDate(sheetRow, c, row, field);
                break;
            case TCellKind::Text:
                PutText(sheetRow, c, m_rs.Text(row, field));
                break;
            }
        }
    }

    void FitColumns() {
        for (size_t c = 0; c < m_widths.size(); ++c)
            if (m_widths[c] > 0)
                Check(worksheet_set_column(m_sheet, lxw_col_t(c), lxw_col_t(c),
                                           std::min(m_widths[c] + 1.5, kMaxColumnWidth), nullptr));
    }

    int CutCells() const { return m_cut; }

private:
    void Widen(size_t c, double width) { m_widths[c] = std::max(m_widths[c], width); }

    void PutText(lxw_row_t row, size_t c, const QString& text) {
        if (text.isEmpty()) return;
        bool cut = false;
        const QByteArray utf8 = SheetCellText(text, &cut);
        if (cut) ++m_cut;
        Widen(c, DisplayWidth(text.left(kMaxCellChars)));
        Check(worksheet_write_string(m_sheet, row, lxw_col_t(c), utf8.constData(), nullptr));
    }

    void PutNumber(lxw_row_t sheetRow, size_t c, int row, int field) {
        double value = 0;
        bool ok = m_rs.IsNumeric(row, field);
        if (ok) {
            value = m_rs.Value(row, field).toDouble();
        } else {
            // A number kept as text (the user's number fields): a number when it reads as one.
            const QString text = m_rs.Text(row, field).trimmed();
            if (text.isEmpty()) return;
            value = text.toDouble(&ok);
        }
        if (!ok || !std::isfinite(value)) {
            PutText(sheetRow, c, m_rs.Text(row, field));
            return;
        }
        Widen(c, double(NumberToText(value).size()));
        Check(worksheet_write_number(m_sheet, sheetRow, lxw_col_t(c), value, nullptr));
    }

    void PutDate(lxw_row_t sheetRow, size_t c, int row, int field) {
        double days = 0;
        if (!DayNumber(m_rs, row, field, days)) {
            PutText(sheetRow, c, m_rs.Text(row, field));
            return;
        }
        const bool withTime = m_dateTime[c];
        if (days < kFirstCommonDay) {
            const QDateTime moment = DaysToDateTime(days);
            PutText(sheetRow, c,
                    moment.toString(withTime ? QStringLiteral("yyyy-MM-dd hh:mm:ss")
                                             : QStringLiteral("yyyy-MM-dd")));
            return;
        }
        Widen(c, withTime ? 19 : 10);
        Check(worksheet_write_number(m_sheet, sheetRow, lxw_col_t(c), days,
                                     withTime ? m_dateTimeFormat : m_dateFormat));
    }

    const TResultSet& m_rs;
    const std::vector<TSheetColumn>& m_columns;
    lxw_worksheet* m_sheet = nullptr;
    lxw_format* m_dateFormat = nullptr;
    lxw_format* m_dateTimeFormat = nullptr;
    std::vector<double> m_widths;
    std::vector<bool> m_dateTime;
    int m_cut = 0;
};

} // namespace

QByteArray SheetCellText(const QString& text, bool* cut) {
    *cut = false;
    const qsizetype n = text.size();
    QString out;
    bool changed = false;
    int units = 0;   // UTF-16 units of the text a reader gets back
    int counted = 0; // code points of the string the library is given
    for (qsizetype i = 0; i < n;) {
        const char16_t u = text[i].unicode();
        const bool pair =
            QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode());
        QString escape;
        if (u == 0 || (!pair && QChar::isSurrogate(u)) || u == 0xFFFE || u == 0xFFFF)
            escape = Escaped(u);
        else if (u == u'_' && IsEscapeAt(text, i))
            escape = QStringLiteral("_x005F_");
        const int step = pair ? 2 : 1;
        const int length = escape.isEmpty() ? 1 : int(escape.size());
        if (units + step > kMaxCellChars || counted + length > kMaxCellChars) {
            *cut = true;
            if (!changed) out = text.left(i);
            changed = true;
            break;
        }
        if (!escape.isEmpty() && !changed) {
            out = text.left(i);
            changed = true;
        }
        if (changed) {
            if (escape.isEmpty())
                out += QStringView(text).mid(i, step);
            else
                out += escape;
        }
        units += step;
        counted += length;
        i += step;
    }
    return (changed ? out : text).toUtf8();
}

TCellKind CellKindOf(const TResultSet& rs, int field) {
    switch (rs.FieldKind(field)) {
    case TFieldKind::DateTime:
        return TCellKind::Date;
    case TFieldKind::Number:
    case TFieldKind::Boolean:
        return TCellKind::Number;
    case TFieldKind::Text:
        return TCellKind::Text;
    case TFieldKind::General:
        break;
    }
    // Computed: sums and arithmetic are stored as numbers, texts and Format() results as text.
    bool any = false;
    for (int r = 0; r < rs.RecordCount(); ++r) {
        if (rs.IsNull(r, field)) continue;
        if (!rs.IsNumeric(r, field)) return TCellKind::Text;
        any = true;
    }
    return any ? TCellKind::Number : TCellKind::Text;
}

TCellKind KindOfField(const TResultSet& rs, int field, const TFieldCellKinds& kinds) {
    const QString& name = rs.FieldNames().at(field);
    for (const auto& [known, kind] : kinds)
        if (known.compare(name, Qt::CaseInsensitive) == 0) return kind;
    return CellKindOf(rs, field);
}

std::vector<TSheetColumn> SheetColumns(const TResultSet& rs, const TFieldCellKinds& kinds) {
    std::vector<TSheetColumn> columns;
    for (int f = 0; f < rs.FieldCount(); ++f)
        columns.push_back({f, rs.FieldNames().at(f), KindOfField(rs, f, kinds)});
    return columns;
}

TWorkbookStats WriteWorkbook(const QString& fileName, const TResultSet& rs,
                             const std::vector<TSheetColumn>& columns) {
    const int rows = rs.Active() ? rs.RecordCount() : 0;
    if (rows + 1 > int(LXW_ROW_MAX) || columns.size() > size_t(LXW_COL_MAX))
        throw EAppError(QString::fromUtf8(lxw_strerror(LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE)));
    for (const TSheetColumn& column : columns)
        if (column.Field < 0 || column.Field >= rs.FieldCount())
            throw EAppError(QStringLiteral("no column %1 in the result").arg(column.Field));

    // Rows are written in order, so the workbook streams them to a temporary file instead of holding every
    // cell in memory.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* workbook = workbook_new_opt(QFile::encodeName(fileName).constData(), &options);
    if (!workbook) throw EAppError(QString::fromUtf8(lxw_strerror(LXW_ERROR_MEMORY_MALLOC_FAILED)));
    std::unique_ptr<lxw_workbook, TWorkbookFree> owner(workbook);

    TSheetWriter sheet(workbook, rs, columns);
    // The widths are measured while the rows are written; the library puts them in front of the rows when
    // it assembles the sheet at closing.
    sheet.WriteTitles();
    for (int r = 0; r < rows; ++r)
        sheet.WriteRow(r);
    sheet.FitColumns();

    TWorkbookStats stats;
    stats.Rows = rows;
    stats.CutCells = sheet.CutCells();
    owner.release(); // closing saves and frees it
    errno = 0;
    const lxw_error closed = workbook_close(workbook);
    const int systemError = errno;
    if (closed == LXW_ERROR_CREATING_XLSX_FILE && systemError != 0)
        throw EAppError(QString::fromUtf8(lxw_strerror(closed)) + QLatin1Char(' ') +
                        QString::fromLocal8Bit(std::strerror(systemError)));
    Check(closed);
    return stats;
}
