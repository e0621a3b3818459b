#pragma once
// A worksheet read for the goods import: the header row's names and the rows below it, every cell as the
// text a person sees in it, an empty cell as "no value". Cells are kept in one text block so that 100,000
// rows stay small in memory.
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <vector>

class TSheetTable {
public:
    // The first row that holds anything; a column without a name has an empty text.
    QStringList Header;

    int RowCount() const { return int(m_rowStart.size()); }
    // The cell's text, or nullopt for an empty cell (also for columns right of the header).
    std::optional<QString> Cell(int row, int column) const;
    // The column whose header equals name, compared without case as the data file compares column names;
    // -1 when there is none.
    int FindColumn(const QString& name) const;

    // Building: rows in order, cells of a row in any order; an empty text is an empty cell.
    void AddRow();
    void AddCell(int column, QStringView text);
    // Drops a last row that got no cells (rows that hold nothing are not goods records).
    void DropEmptyLastRow();

private:
    struct TCell {
        uint32_t column;
        uint32_t offset;
        uint32_t length;
    };
    std::vector<uint32_t> m_rowStart; // first cell of each row in m_cells
    std::vector<TCell> m_cells;
    std::u16string m_text;
};

// Reads the first worksheet of an ".xls" or ".xlsx" workbook, or a ".csv" text, chosen by the file's
// content (the name's extension decides only between text and unknown content). Raises EAppError with the
// reason when the file cannot be read.
TSheetTable ReadSheetFile(const QString& path);

TSheetTable ReadXlsFile(const QString& path);
TSheetTable ReadXlsxFile(const QString& path);
TSheetTable ReadCsvFile(const QString& path);
// The CSV reader's core, on bytes in UTF-8 (with or without byte order mark), UTF-16 with its mark, or
// GB18030 as Chinese spreadsheet programs save text.
TSheetTable ParseCsv(const QByteArray& bytes);

// A number as a person sees it in a cell with the general format: whole numbers without a fraction,
// others in their shortest form with up to 15 significant digits.
QString NumberText(double value);
// A spreadsheet day number (1900-01-01 is day 1, the time of day as fraction) as "YYYY-MM-DD", with
// " hh:mm:ss" when it has a time of day; timeOnly gives "hh:mm:ss" alone.
QString SerialDateText(double serial, bool timeOnly = false);
