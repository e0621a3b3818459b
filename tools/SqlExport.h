#pragma once
// bookkeep-sql FILE --export OUT.xlsx SQL: the rows of a select as a workbook, for reports made by scripts.
#include <QString>

// Runs the select on the open gDbAccess and writes every column, titled by its name, to outFile. Returns
// the exit code: 0, or 1 with the reason on standard error.
int RunSqlExport(const QString& outFile, const QString& sql);
