#pragma once
// Date-time values are day numbers counted from 1899-12-30, the time of day as fraction, as the program's
// SQL expects them. These helpers convert, and register the SQL functions the program's statements call.
#include <QDateTime>
#include <QString>

struct sqlite3;

double DateTimeToDays(const QDateTime& dt);
QDateTime DaysToDateTime(double days);
// Accepts "YYYY-MM-DD", "YYYY/M/D" (optionally with a time) and the user's short date form.
bool ParseDateText(const QString& text, double& days);
// "yyyy-MM-dd hh:mm:ss", or "yyyy-MM-dd" when the time of day is 0.
QString DaysToText(double days);
// Numbers in their shortest decimal form with "." (5, 12.5).
QString NumberToText(double value);
// Jet's Format() for date patterns (yyyy, mm, dd, hh, nn, ss ...), case-insensitive.
QString FormatDays(double days, const QString& pattern);

// Registers the jet_* functions on a connection; throws EEngineError on failure.
void RegisterJetFunctions(sqlite3* db);
