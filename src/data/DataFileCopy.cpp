#include "data/DataFileCopy.h"

#include "common/UException.h"
#include "data/Engine.h"
#include "data/EngineInternal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sqlite3.h>
#include <unistd.h>

using namespace engine_detail;

namespace {

// Closes a raw connection when it goes out of scope.
struct DbGuard {
    sqlite3* db = nullptr;
    ~DbGuard() { sqlite3_close_v2(db); }
};

QString ErrorOf(sqlite3* db, const QString& fallback) {
    return db ? Utf8(sqlite3_errmsg(db)) : fallback;
}

// Runs SQLite's own quick check on an open connection; its first line of complaint becomes the error.
void QuickCheck(sqlite3* db, const QString& path) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &stmt, nullptr) != SQLITE_OK)
        throw EEngineError(ErrorOf(db, path));
    StmtGuard g{stmt};
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_ROW) throw EEngineError(ErrorOf(db, path));
    const QString first = Utf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    if (first != QLatin1String("ok"))
        throw EEngineError(QStringLiteral("The file '%1' is damaged: %2").arg(path, first));
}

void SyncPath(const QString& path, bool directory) {
    const int fd = ::open(QFile::encodeName(path).constData(), directory ? O_RDONLY | O_DIRECTORY : O_RDONLY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Copies every page of source's main database into a new file at temp and leaves it a plain file without
// a log (so that it can be read from read-only media and copied as it is).
void BackupInto(sqlite3* source, const QString& temp) {
    DbGuard dest;
    if (sqlite3_open_v2(QFile::encodeName(temp).constData(), &dest.db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
        throw EEngineError(ErrorOf(dest.db, QStringLiteral("Could not create '%1'.").arg(temp)));
    sqlite3_backup* b = sqlite3_backup_init(dest.db, "main", source, "main");
    if (!b) throw EEngineError(ErrorOf(dest.db, temp));
    const int rc = sqlite3_backup_step(b, -1);
    sqlite3_backup_finish(b);
    if (rc != SQLITE_DONE) {
        // The error of a step is the source's or the destination's; name whichever has one.
        const int srcCode = sqlite3_errcode(source);
        throw EEngineError(srcCode != SQLITE_OK && srcCode != SQLITE_DONE ? ErrorOf(source, temp)
                                                                          : Utf8(sqlite3_errstr(rc)));
    }
    if (sqlite3_exec(dest.db, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr) != SQLITE_OK)
        throw EEngineError(ErrorOf(dest.db, temp));
    QuickCheck(dest.db, temp);
    if (sqlite3_close(dest.db) != SQLITE_OK) throw EEngineError(ErrorOf(dest.db, temp));
    dest.db = nullptr;
    SyncPath(temp, false);
}

void CopyVia(const std::function<void(const QString&)>& write, const QString& destPath,
             const QString& password) {
    const QString temp = FreeNameBeside(destPath, QStringLiteral("~BK"));
    try {
        write(temp);
        VerifyDataFile(temp, password);
        ReplaceFile(temp, destPath);
    } catch (...) {
        QFile::remove(temp);
        QFile::remove(temp + QStringLiteral("-journal"));
        throw;
    }
}

} // namespace

QString FreeNameBeside(const QString& near, const QString& prefix) {
    const QString dir = QFileInfo(near).absolutePath() + QLatin1Char('/');
    for (;;) {
        const QString name =
            dir + prefix + QUuid::createUuid().toString(QUuid::Id128).left(12) + QStringLiteral(".tmp");
        if (!QFileInfo::exists(name)) return name;
    }
}

void VerifyDataFile(const QString& path, const QString& password) {
    {
        TDatabase probe;
        probe.Open(path, password, true);
        QuickCheck(probe.Handle(), path);
    }
    // The probe may have left the engine's empty side files of a plain file.
    QFile::remove(path + QStringLiteral("-journal"));
}

void ReplaceFile(const QString& from, const QString& to) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw EEngineError(QStringLiteral("Could not replace '%1': %2")
                               .arg(to, QString::fromLocal8Bit(std::strerror(errno))));
    SyncPath(QFileInfo(to).absolutePath(), true);
}

void CopyDatabaseTo(sqlite3* source, const QString& destPath, const QString& password) {
    if (!source) throw EEngineError(QStringLiteral("The connection is closed."));
    CopyVia([&](const QString& temp) { BackupInto(source, temp); }, destPath, password);
}

void CopyDatabaseFileTo(const QString& sourcePath, const QString& destPath, const QString& password) {
    if (!QFileInfo(sourcePath).isFile())
        throw EEngineError(QStringLiteral("Could not find file '%1'.").arg(sourcePath));
    DbGuard src;
    // Read only: a backup on a write-protected stick is restored like any other.
    if (sqlite3_open_v2(QFile::encodeName(sourcePath).constData(), &src.db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK)
        throw EEngineError(ErrorOf(src.db, QStringLiteral("Could not open '%1'.").arg(sourcePath)));
    sqlite3_busy_timeout(src.db, 2000);
    CopyVia([&](const QString& temp) { BackupInto(src.db, temp); }, destPath, password);
}
