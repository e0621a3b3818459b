#pragma once
// Complete, checked copies of data files through SQLite itself (never a byte copy of a file that may have
// committed pages still in its log), and the atomic replacement of one file by another.
#include <QString>

struct sqlite3;

// Copies the database behind source into destPath: written beside destPath, made a plain single file,
// quick-checked, opened again as a data file with password, then renamed over destPath. On any failure
// destPath is left as it was, nothing is left beside it, and EEngineError tells why.
void CopyDatabaseTo(sqlite3* source, const QString& destPath, const QString& password);

// The same from a data file that is not open; the file is only read.
void CopyDatabaseFileTo(const QString& sourcePath, const QString& destPath, const QString& password);

// Throws EEngineError unless the file opens as a data file with password and passes SQLite's quick check.
void VerifyDataFile(const QString& path, const QString& password);

// Renames from over to in one step (the old file stays whole until the new one takes its name) and makes
// the rename durable. Throws EEngineError on failure, leaving both files as they were.
void ReplaceFile(const QString& from, const QString& to);

// A name that does not exist yet, in the folder of near, starting with prefix.
QString FreeNameBeside(const QString& near, const QString& prefix);
