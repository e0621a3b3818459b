#include "app/FirstStart.h"

#include "common/AppDirChoice.h"
#include "common/UException.h"
#include "common/UntPublic.h"
#include "data/Schema.h"

#include <QDir>
#include <QFileInfo>

bool EnsureDataFile(const QString& dir) {
    if (!QDir().mkpath(dir)) return false;
    const QString file = QDir(dir).filePath(QStringLiteral("bookkeep.dat"));
    if (QFileInfo::exists(file)) return true;
    try {
        CreateDataFile(file);
    } catch (const EAppError&) {
        return false;
    }
    return true;
}

void PrepareAppDir(const TAppDirFacts& facts) {
    // AppDir may have been pointed elsewhere already (tests do); only the user's data folder is made.
    if (UsesUserDataAppDir(facts) && AppDir() == UserDataAppDir(facts)) EnsureDataFile(AppDir());
}
