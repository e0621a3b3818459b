// bookkeep_core
// The first worksheet of a binary Excel workbook (".xls", Excel 97 to 2003), read with freexl.
#include "maint/SheetTable.h"

#include "common/UException.h"
#include "maint/XlsRecords.h"

#include <QFile>
#include <QHash>
#include <freexl.h>

namespace {

QString XlsError(int code) {
    switch (code) {
    case FREEXL_FILE_NOT_FOUND:
        return QStringLiteral("文件不存在");
    case FREEXL_CFBF_INVALID_SIGNATURE:
    case FREEXL_BIFF_INVALID_BOF:
        return QStringLiteral("不是 Excel 97-2003 工作簿");
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
        return QStringLiteral("文件中没有工作簿");
    case FREEXL_BIFF_PASSWORD:
        return QStringLiteral("工作簿有密码保护");
    case FREEXL_INSUFFICIENT_MEMORY:
        return QStringLiteral("内存不足");
    default:
        return QStringLiteral("文件已损坏或格式不受支持（错误 %1）").arg(code);
    }
}

class TXls {
public:
    explicit TXls(const QString& path) : m_path(path) {
        const int rc = freexl_open(QFile::encodeName(path).constData(), &m_handle);
        if (rc != FREEXL_OK) {
            if (m_handle) freexl_close(m_handle);
            throw EAppError(Message(rc));
        }
    }
    ~TXls() { freexl_close(m_handle); }
    TXls(const TXls&) = delete;
    TXls& operator=(const TXls&) = delete;
    const void* Handle() const { return m_handle; }
    QString Message(int rc) const {
        return QStringLiteral("无法读取工作簿“%1”：%2").arg(m_path, XlsError(rc));
    }
    void Check(int rc) const {
        if (rc != FREEXL_OK) throw EAppError(Message(rc));
    }

private:
    QString m_path;
    const void* m_handle = nullptr;
};

QString CellText(const FreeXL_CellValue& v) {
    switch (v.type) {
    case FREEXL_CELL_INT:
        return QString::number(v.value.int_value);
    case FREEXL_CELL_DOUBLE:
        return NumberText(v.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_TIME:
        return QString::fromUtf8(v.value.text_value);
    case FREEXL_CELL_DATETIME: {
        // A date with a time format at midnight reads as the date alone, as in the other readers.
        QString s = QString::fromUtf8(v.value.text_value);
        if (s.endsWith(QLatin1String(" 00:00:00"))) s.chop(9);
        return s;
    }
    default:
        return QString();
    }
}

} // namespace

TSheetTable ReadXlsFile(const QString& path) {
    const TXls xls(path);
    unsigned int sheets = 0;
    xls.Check(freexl_get_info(xls.Handle(), FREEXL_BIFF_SHEET_COUNT, &sheets));
    if (sheets == 0) throw EAppError(QStringLiteral("无法读取工作簿“%1”：工作簿中没有工作表").arg(path));
    // Sheets are numbered in the order of the workbook's tabs.
    xls.Check(freexl_select_active_worksheet(xls.Handle(), 0));
    unsigned int rows = 0;
    unsigned short columns = 0;
    xls.Check(freexl_worksheet_dimensions(xls.Handle(), &rows, &columns));

    // Formula results and booleans, which freexl leaves empty or gives as numbers.
    QHash<quint64, QString> records;
    for (const TXlsCellText& c : ReadXlsFormulaCells(path))
        records.insert(quint64(c.row) << 16 | c.column, c.text);
    auto text = [&](unsigned int row, unsigned short col, const FreeXL_CellValue& v) {
        const auto it = records.constFind(quint64(row) << 16 | col);
        return it != records.constEnd() ? *it : CellText(v);
    };

    TSheetTable table;
    unsigned int row = 0;
    FreeXL_CellValue v;
    for (; row < rows && table.Header.isEmpty(); ++row) {
        QStringList header;
        for (unsigned short col = 0; col < columns; ++col) {
            xls.Check(freexl_get_cell_value(xls.Handle(), row, col, &v));
            header << text(row, col, v);
        }
        while (!header.isEmpty() && header.last().isEmpty())
            header.removeLast();
        table.Header = header;
    }
    for (; row < rows; ++row) {
        table.AddRow();
        for (unsigned short col = 0; col < columns && col < table.Header.size(); ++col) {
            xls.Check(freexl_get_cell_value(xls.Handle(), row, col, &v));
            table.AddCell(col, text(row, col, v));
        }
        table.DropEmptyLastRow();
    }
    return table;
}
