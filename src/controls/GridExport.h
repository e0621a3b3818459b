#pragma once
// Exports the rows a grid holds into a new .xlsx workbook under a name the user chooses.
#include "data/WorkbookWriter.h"

class TCardDBGrid;

// Every visible column of the grid (the goods grid hides its GUID): a title row with the field names, then
// one row per record in the grid's order. Cell types follow the columns; kinds names the user's number and
// date fields, which are stored as text.
void ExportGridToExcel(TCardDBGrid* grid, const TFieldCellKinds& kinds = {});

// Writes the workbook without asking; throws EAppError with the reason when it cannot be written.
TWorkbookStats WriteGridWorkbook(TCardDBGrid* grid, const QString& fileName,
                                 const TFieldCellKinds& kinds = {});
