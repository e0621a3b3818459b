#pragma once
// bookkeep-sql --backup FILE DEST, --restore FILE SOURCE, --compact FILE
#include <QStringList>

// Whether args (all words after the program name) start with one of the maintenance commands.
bool IsMaintCommand(const QStringList& args);
// Runs it with the same code, checks and messages as the data maintenance dialog; messages go to standard
// error. Returns the exit code (0 done, 1 refused or failed, 2 wrong arguments).
int RunMaintCommand(const QStringList& args);
extern const char* const MaintUsage;
