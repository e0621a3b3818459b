#pragma once
// What the command-line forms share: messages on standard error and opening the data file they were given.
#include <QString>

class QFileInfo;
class TDbAccess;

void Say(const QString& text);
// Opens file on access's connection with the data file's password; says why and returns false when it cannot.
bool ConnectTool(TDbAccess& access, const QFileInfo& file);
