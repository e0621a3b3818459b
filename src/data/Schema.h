#pragma once
// The one description of the data file's tables, from which a new data file is made.
#include <QString>

struct sqlite3;

// SQLite statements, separated by ";", that create every table with its defaults, counters and the rows a new
// file must hold.
const QString& SchemaSql();

// Makes a new, empty data file at path with the program's password. Refuses an existing path.
void CreateDataFile(const QString& path);

// The format of the data files this program makes; older files are brought to it once, at connect.
constexpr int kDataFileFormat = 2;
// Brings an open data file of format fromVersion to kDataFileFormat in one transaction; throws EEngineError
// with the engine's text and leaves the file as it was when a step fails.
void UpgradeDataFile(sqlite3* db, int fromVersion);
