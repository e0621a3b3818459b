#include "common/ExcelExport.h"

#include "common/UException.h"
#include "common/UntPublic.h"
#include "controls/CardDBGrid.h"
#include "data/Engine.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>
#include <xlsxwriter.h>

namespace {

const QString kFailed = QStringLiteral("操作Excel时出现错误,导出数据失败!错误信息:");
const QString kSuffix = QStringLiteral(".xlsx");
// A spreadsheet cell holds at most this many characters, and a column is at most this wide.
constexpr int kMaxCellChars = 32767;
constexpr double kMaxColumnWidth = 255;
// A double keeps 15 significant digits; longer digit strings (bar codes, ID numbers) stay text.
constexpr int kMaxDigits = 15;

void Check(lxw_error error) {
    if (error != LXW_NO_ERROR) throw EAppError(QString::fromUtf8(lxw_strerror(error)));
}

// Width of a text in spreadsheet character units: wide (CJK) characters take two. Also tells whether the
// text holds control characters, which the sheet's XML cannot carry.
double DisplayWidth(const QString& text, bool* hasControl) {
    double width = 0;
    *hasControl = false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        width += u >= 0x1100 ? 2 : 1;
        if (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') *hasControl = true;
    }
    return width;
}

QString WithoutControls(const QString& text) {
    QString out;
    for (const QChar c : text)
        if (c.unicode() >= 0x20 || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            out += c;
    return out;
}

// Frees a workbook that failed before it was saved, without writing a file.
struct TWorkbookFree {
    void operator()(lxw_workbook* wb) const { lxw_workbook_free(wb); }
};

} // namespace

bool LooksLikeNumber(const QString& text) {
    // Digits with an optional minus sign and decimal part; no leading zeros (codes such as "007" stay text),
    // no blanks, no exponent, no thousands separators.
    int i = 0;
    const int n = int(text.size());
    if (i < n && text[i] == QLatin1Char('-')) ++i;
    const int intStart = i;
    while (i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))
        ++i;
    const int intDigits = i - intStart;
    if (intDigits == 0 || (intDigits > 1 && text[intStart] == QLatin1Char('0'))) return false;
    int fracDigits = 0;
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        const int fracStart = i;
        while (i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))
            ++i;
        fracDigits = i - fracStart;
        if (fracDigits == 0) return false;
    }
    if (i != n) return false;
    const int significant = text[intStart] == QLatin1Char('0') ? fracDigits : intDigits + fracDigits;
    return significant <= kMaxDigits;
}

void WriteGridWorkbook(TCardDBGrid* grid, const QString& fileName) {
    TResultSet* ds = grid ? grid->DataSet() : nullptr;
    const int columns = ds && ds->Active() ? std::min(grid->ColumnCount(), ds->FieldCount()) : 0;
    const int rows = ds && ds->Active() ? ds->RecordCount() : 0;
    if (rows + 1 > LXW_ROW_MAX)
        throw EAppError(QString::fromUtf8(lxw_strerror(LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE)));

    // Rows are written in order, so the workbook streams them to a temporary file instead of holding
    // every cell in memory.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* workbook = workbook_new_opt(QFile::encodeName(fileName).constData(), &options);
    if (!workbook) throw EAppError(QString::fromUtf8(lxw_strerror(LXW_ERROR_MEMORY_MALLOC_FAILED)));
    std::unique_ptr<lxw_workbook, TWorkbookFree> owner(workbook);
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
    if (!sheet) throw EAppError(QString::fromUtf8(lxw_strerror(LXW_ERROR_CREATING_TMPFILE)));

    // Grid column k goes to sheet column k - 1: the first grid column is left out.
    std::vector<double> widths(size_t(std::max(columns - 1, 0)), 0);
    auto put = [&](int row, int k, const QString& text, bool asText) {
        if (text.isEmpty()) return;
        bool hasControl = false;
        double& width = widths[size_t(k - 1)];
        width = std::max(width, DisplayWidth(text, &hasControl));
        const lxw_row_t r = lxw_row_t(row);
        const lxw_col_t c = lxw_col_t(k - 1);
        if (!asText && LooksLikeNumber(text)) {
            Check(worksheet_write_number(sheet, r, c, text.toDouble(), nullptr));
            return;
        }
        const QByteArray utf8 = (hasControl ? WithoutControls(text) : text).left(kMaxCellChars).toUtf8();
        Check(worksheet_write_string(sheet, r, c, utf8.constData(), nullptr));
    };
    for (int k = 1; k < columns; ++k)
        put(0, k, grid->Title(k), true);
    for (int r = 0; r < rows; ++r)
        for (int k = 1; k < columns; ++k)
            put(r + 1, k, ds->Text(r, k), false);

    // Fit every column to its longest text.
    for (size_t i = 0; i < widths.size(); ++i)
        if (widths[i] > 0)
            Check(worksheet_set_column(sheet, lxw_col_t(i), lxw_col_t(i),
                                       std::min(widths[i] + 1.5, kMaxColumnWidth), nullptr));

    owner.release(); // closing saves and frees it
    errno = 0;
    const lxw_error closed = workbook_close(workbook);
    const int systemError = errno;
    if (closed == LXW_ERROR_CREATING_XLSX_FILE && systemError != 0)
        throw EAppError(QString::fromUtf8(lxw_strerror(closed)) + QLatin1Char(' ') +
                        QString::fromLocal8Bit(std::strerror(systemError)));
    Check(closed);
}

void ExportGridToExcel(TCardDBGrid* grid) {
    QString name = PromptSaveFileName(QStringLiteral("导出Excel"), QStringLiteral("Excel文件 (*.xlsx)"));
    if (name.isEmpty()) return;
    // The workbook is Office Open XML; without its own extension spreadsheet programs call it damaged.
    if (!name.endsWith(kSuffix)) name += kSuffix;
    try {
        WriteGridWorkbook(grid, name);
    } catch (const EAppError& e) {
        ShowPlain(kFailed + e.Message());
        return;
    }
    ShowPlain(QStringLiteral("导出数据到") + name + QStringLiteral("成功!"));
}
