#pragma once
// What the command-line forms share: messages on standard error and opening the data file they were given.
#include <QString>

class QFileInfo;

#include "data/MD.h"

void Say(const QString& text);

// The data file a command works on, as the program's own connection: AppDir is the file's folder (so the
// safety copy and the log lie beside it) and gDbAccess points here while it lives.
class TToolConnection {
public:
    TToolConnection(const QFileInfo& file);
    ~TToolConnection();
    TToolConnection(const TToolConnection&) = delete;
    TToolConnection& operator=(const TToolConnection&) = delete;
    // Opens the file with the data file's password; says why and returns false when it cannot.
    bool Open();

private:
    TDbAccess m_access;
    QString m_path;
};
