#pragma once
// Compaction of the data file at the end of every run.
#include <QString>

// Writes a compacted copy of the closed data file at file into a "~CP" file in the same folder and renames it
// over file. True when the compacted copy took the file's place. Any failure leaves the old file whole and
// no "~CP" file behind; the reason goes to error when one is given, nothing is shown.
bool CompactDatabase(const QString& file, const QString& password, QString* error = nullptr);
