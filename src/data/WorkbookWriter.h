#pragma once
// Writes rows of a result set into a new .xlsx workbook: one sheet, a title row, then one row per record in
// the result set's current order. Every cell's type comes from its column, never from the text it holds.
#include <QString>
#include <map>
#include <vector>

class TResultSet;

// Number: numeric cells (a text that is no number stays text, so nothing is lost). Date: date cells from day
// numbers counted from 1899-12-30 or from date texts, shown as a date, or as date and time when a value of
// the column has a time of day. Text: every value as text, so codes keep their zeros and all their digits.
enum class TCellKind { Text, Number, Date };

// Kinds a caller knows better than the declared types, by field name (the user's number and date fields are
// stored in text columns).
using TFieldCellKinds = std::map<QString, TCellKind>;

struct TSheetColumn {
    int Field = 0; // column of the result set
    QString Title;
    TCellKind Kind = TCellKind::Text;
};

struct TWorkbookStats {
    int Rows = 0;     // data rows written
    int CutCells = 0; // texts cut to the 32,767 characters a cell holds
};

// A column's kind from its declared type; a computed column (none declared) is a number column when every
// value in it is stored as a number, else text.
TCellKind CellKindOf(const TResultSet& rs, int field);

// Every column of the result set, titled by its field name; kinds from CellKindOf unless given by name
// (names compare without case).
std::vector<TSheetColumn> SheetColumns(const TResultSet& rs, const TFieldCellKinds& kinds = {});
TCellKind KindOfField(const TResultSet& rs, int field, const TFieldCellKinds& kinds);

// Writes the workbook, streaming the rows (memory does not grow with them), and replaces a file of that name.
// Throws EAppError with the reason when it cannot be written.
TWorkbookStats WriteWorkbook(const QString& fileName, const TResultSet& rs,
                             const std::vector<TSheetColumn>& columns);

// The text as a cell stores it: characters XML cannot carry in _xHHHH_ form, a literal _xHHHH_ escaped as
// _x005F_xHHHH_ (control characters other than NUL are left for the library, which writes them the same
// way), cut at a character boundary to what a cell holds. *cut tells whether it was cut.
QByteArray SheetCellText(const QString& text, bool* cut);
