#pragma once
// What freexl leaves out of a binary workbook's first sheet: the results of formulas and the booleans
// (which it gives as numbers). Read straight from the workbook's records.
#include <QString>
#include <cstdint>
#include <vector>

struct TXlsCellText {
    uint32_t row;
    uint16_t column;
    QString text; // as a person sees it; empty for an empty result
};

// The formula and boolean cells of the first worksheet with their texts; empty when the file is not an
// Excel 97-2003 workbook or cannot be followed (the caller keeps what freexl read).
std::vector<TXlsCellText> ReadXlsFormulaCells(const QString& path);
