#pragma once
// The one description of the data file's tables, from which a new data file is made.
#include <QString>

// SQLite statements, separated by ";", that create every table with its defaults, counters and the rows a new
// file must hold.
const QString& SchemaSql();

// Makes a new, empty data file at path with the program's password. Refuses an existing path.
void CreateDataFile(const QString& path);
