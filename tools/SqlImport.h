#pragma once
// bookkeep-sql --import FILE WORKBOOK --fields NAME[,NAME...] [--group N]
#include <QStringList>

// args are the words after "--import". Messages go to standard error; returns the exit code (0 done,
// 1 refused or failed, 2 wrong arguments).
int RunImportCommand(const QStringList& args);
extern const char* const ImportUsage;
