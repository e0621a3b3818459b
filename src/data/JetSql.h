#pragma once
// Turns the program's SQL (the Jet dialect its statements are written in) into SQL that SQLite runs with
// the same meaning: TOP, "+" on texts, the Jet functions, date literals, and the ALTER TABLE forms.
#include <QString>

struct sqlite3;

// Throws EEngineError for text that cannot be a Jet statement (e.g. a column definition with stray words).
// True/False/Yes/No become numbers only where they stand as values: a name that is a column of a table the
// statement names stays a column. Without a connection to look columns up in (db null), they are values.
QString TranslateJetSql(const QString& jetSql, sqlite3* db = nullptr);
