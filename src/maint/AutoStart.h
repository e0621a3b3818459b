#pragma once
// Start with the desktop session: a freedesktop autostart entry named after the value name whose Exec= holds
// the executable's full path.
#include <QString>

// $XDG_CONFIG_HOME/autostart, or ~/.config/autostart when that is not set; with a trailing "/".
QString AutoStartDir();
QString AutoStartFile(const QString& valueName);

// On exactly when the entry exists and its Exec= is exePath.
bool IsAutoStart(const QString& valueName, const QString& exePath);
// Writes or removes the entry; a folder that cannot be written changes nothing, silently.
void SetAutoStart(const QString& valueName, const QString& exePath, bool on);
