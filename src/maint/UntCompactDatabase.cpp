#include "maint/UntCompactDatabase.h"

#include "common/UException.h"
#include "data/DataFileCopy.h"
#include "data/Engine.h"

#include <QFile>

bool CompactDatabase(const QString& file, const QString& password, QString* error) {
    const QString temp = FreeNameBeside(file, QStringLiteral("~CP"));
    try {
        {
            TDatabase db;
            db.Open(file, password);
            db.CompactInto(temp);
            // Closing the last connection moves the log into the file and removes it; a log left behind would
            // belong to the old file and must not meet the new one.
        }
        if (QFile::exists(file + QStringLiteral("-wal")))
            throw EEngineError(QStringLiteral("The log of '%1' is still in use.").arg(file));
        VerifyDataFile(temp, password);
        ReplaceFile(temp, file);
        QFile::remove(file + QStringLiteral("-shm"));
        return true;
    } catch (const EAppError& e) {
        if (error) *error = e.Message();
    } catch (const std::exception& e) {
        if (error) *error = QString::fromUtf8(e.what());
    }
    QFile::remove(temp);
    QFile::remove(temp + QStringLiteral("-journal"));
    QFile::remove(temp + QStringLiteral("-wal"));
    QFile::remove(temp + QStringLiteral("-shm"));
    return false;
}
