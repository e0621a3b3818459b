#pragma once
// Writes the rows a grid holds into a new Excel workbook under a name the user chooses.
#include <QString>

class TCardDBGrid;

// Every grid column but the first (the goods grid keeps its hidden GUID there): a title row, then one row
// per record in the grid's order. Number-like texts become numbers, everything else stays text.
void ExportGridToExcel(TCardDBGrid* grid);

// Writes the workbook; throws EAppError with the reason when it cannot be created or saved.
void WriteGridWorkbook(TCardDBGrid* grid, const QString& fileName);

// True for a plain decimal number that a spreadsheet takes as a number without losing a digit.
bool LooksLikeNumber(const QString& text);
