// bookkeep_core
#include "maint/SheetTable.h"

#include "common/UException.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

std::optional<QString> TSheetTable::Cell(int row, int column) const {
    if (row < 0 || row >= RowCount() || column < 0) return std::nullopt;
    const size_t begin = m_rowStart[size_t(row)];
    const size_t end = size_t(row) + 1 < m_rowStart.size() ? m_rowStart[size_t(row) + 1] : m_cells.size();
    for (size_t i = begin; i < end; ++i) {
        const TCell& c = m_cells[i];
        if (c.column == uint32_t(column))
            return QString(reinterpret_cast<const QChar*>(m_text.data() + c.offset), qsizetype(c.length));
    }
    return std::nullopt;
}

int TSheetTable::FindColumn(const QString& name) const {
    for (int i = 0; i < Header.size(); ++i)
        if (!Header[i].isEmpty() && Header[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

void TSheetTable::AddRow() {
    m_rowStart.push_back(uint32_t(m_cells.size()));
}

void TSheetTable::AddCell(int column, QStringView text) {
    if (text.isEmpty() || column < 0 || column >= Header.size() || m_rowStart.empty()) return;
    m_cells.push_back({uint32_t(column), uint32_t(m_text.size()), uint32_t(text.size())});
    m_text.append(reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size()));
}

void TSheetTable::DropEmptyLastRow() {
    if (!m_rowStart.empty() && m_rowStart.back() == m_cells.size()) m_rowStart.pop_back();
}

QString NumberText(double value) {
    if (!std::isfinite(value)) return QString();
    if (value == 0) return QStringLiteral("0");
    // Bar codes and other long codes are whole numbers well inside a double's exact range.
    if (std::floor(value) == value && std::fabs(value) < 1e15) return QString::number(qint64(value));
    return QString::number(value, 'g', 15);
}

QString SerialDateText(double serial, bool timeOnly) {
    // Round to the second first, so that 23:59:59.7 becomes the next day's midnight.
    const qint64 seconds = qint64(std::llround(serial * 86400.0));
    qint64 days = seconds / 86400;
    qint64 rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    const QString time = QStringLiteral("%1:%2:%3")
                             .arg(rest / 3600, 2, 10, QLatin1Char('0'))
                             .arg(rest / 60 % 60, 2, 10, QLatin1Char('0'))
                             .arg(rest % 60, 2, 10, QLatin1Char('0'));
    if (timeOnly) return time;
    // Spreadsheets count 1900 as a leap year: their days 1 to 59 (January and February 1900) are one day
    // later than the day numbers from 1899-12-30 that hold from 1 March 1900 on.
    if (days >= 1 && days <= 59) ++days;
    const QString date = QDate(1899, 12, 30).addDays(days).toString(QStringLiteral("yyyy-MM-dd"));
    return rest ? date + QLatin1Char(' ') + time : date;
}

TSheetTable ReadSheetFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw EAppError(QStringLiteral("无法打开文件“%1”：%2").arg(path, f.errorString()));
    const QByteArray magic = f.read(8);
    f.close();
    if (magic.startsWith("PK\x03\x04")) return ReadXlsxFile(path);
    if (magic.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) return ReadXlsFile(path);
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("csv") || suffix == QLatin1String("txt")) return ReadCsvFile(path);
    throw EAppError(QStringLiteral("文件“%1”不是 Excel 工作簿或 CSV 文本").arg(path));
}
