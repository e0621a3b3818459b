#pragma once
// Turns the program's SQL (the Jet dialect its statements are written in) into SQL that SQLite runs with
// the same meaning: TOP, "+" on texts, the Jet functions, date literals, and the ALTER TABLE forms.
#include <QString>

// Throws EEngineError for text that cannot be a Jet statement (e.g. a column definition with stray words).
QString TranslateJetSql(const QString& jetSql);
