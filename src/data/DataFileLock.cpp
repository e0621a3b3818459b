#include "data/DataFileLock.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct THold {
    int fd;
    bool exclusive;
};

// Gives up a hold; the last holder removes the lock file. A process that opened the file just before the
// removal sees that the path no longer names the file it locked and starts over (see OpenLocked).
void Drop(const QString& lockPath, const THold& hold) {
    if (hold.exclusive || flock(hold.fd, LOCK_EX | LOCK_NB) == 0) {
        struct stat mine {};
        struct stat named {};
        const QByteArray path = QFile::encodeName(lockPath);
        if (fstat(hold.fd, &mine) == 0 && stat(path.constData(), &named) == 0 &&
            mine.st_dev == named.st_dev && mine.st_ino == named.st_ino)
            unlink(path.constData());
    }
    close(hold.fd);
}

// The holds of this process, keyed by lock file; dropped at a normal end of the process (a crash drops the
// locks all the same, only the lock file stays behind).
class THolds {
public:
    ~THolds() {
        for (const auto& [path, hold] : map)
            Drop(path, hold);
    }
    std::map<QString, THold> map;
    std::mutex mutex;
};

THolds& Holds() {
    static THolds holds;
    return holds;
}

enum class TOutcome { Locked, HeldElsewhere, NoLockFile };

// Opens (making it when missing) and locks the lock file without waiting. flock locks belong to the open
// file, so they never mix with the engine's POSIX locks on the data file and die with the process.
TOutcome OpenLocked(const QString& lockPath, int operation, int& fd) {
    const QByteArray path = QFile::encodeName(lockPath);
    for (int attempt = 0; attempt < 20; ++attempt) {
        fd = open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) fd = open(path.constData(), O_RDONLY | O_CLOEXEC); // read-only lock file or folder
        if (fd < 0) return TOutcome::NoLockFile;
        int rc;
        while ((rc = flock(fd, operation | LOCK_NB)) != 0 && errno == EINTR) {
        }
        if (rc != 0) {
            const bool busy = errno == EWOULDBLOCK;
            close(fd);
            fd = -1;
            return busy ? TOutcome::HeldElsewhere : TOutcome::NoLockFile;
        }
        // The previous holder may have removed the file between our open and our lock.
        struct stat mine {};
        struct stat named {};
        if (fstat(fd, &mine) == 0 && stat(path.constData(), &named) == 0 && mine.st_dev == named.st_dev &&
            mine.st_ino == named.st_ino)
            return TOutcome::Locked;
        close(fd);
        fd = -1;
    }
    return TOutcome::HeldElsewhere;
}

} // namespace

QString DataFileInUseText() {
    return QStringLiteral("仓库管理软件已经在运行，不能同时打开同一个数据文件！");
}

QString DataFileLockPath(const QString& dataFile) {
    const QFileInfo info(dataFile);
    QString path = info.canonicalFilePath();
    if (path.isEmpty()) {
        const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
        path = folder.isEmpty() ? info.absoluteFilePath() : folder + QLatin1Char('/') + info.fileName();
    }
    return path + QStringLiteral(".lock");
}

bool LockDataFile(const QString& dataFile) {
    const QString lockPath = DataFileLockPath(dataFile);
    THolds& holds = Holds();
    std::lock_guard<std::mutex> guard(holds.mutex);
    const auto it = holds.map.find(lockPath);
    if (it != holds.map.end()) {
        if (it->second.exclusive) return true;
        // A shared hold of our own becomes exclusive only when nobody else shares it.
        if (flock(it->second.fd, LOCK_EX | LOCK_NB) != 0) {
            flock(it->second.fd, LOCK_SH | LOCK_NB);
            return false;
        }
        it->second.exclusive = true;
        return true;
    }
    int fd = -1;
    switch (OpenLocked(lockPath, LOCK_EX, fd)) {
    case TOutcome::Locked:
        holds.map[lockPath] = THold{fd, true};
        return true;
    case TOutcome::HeldElsewhere:
        return false;
    case TOutcome::NoLockFile:
        break;
    }
    return true;
}

void ReleaseDataFile(const QString& dataFile) {
    const QString lockPath = DataFileLockPath(dataFile);
    THolds& holds = Holds();
    std::lock_guard<std::mutex> guard(holds.mutex);
    const auto it = holds.map.find(lockPath);
    if (it == holds.map.end()) return;
    Drop(it->first, it->second);
    holds.map.erase(it);
}

bool DataFileHeldElsewhere(const QString& dataFile) {
    const QString lockPath = DataFileLockPath(dataFile);
    THolds& holds = Holds();
    std::lock_guard<std::mutex> guard(holds.mutex);
    if (holds.map.count(lockPath)) return false;
    int fd = -1;
    switch (OpenLocked(lockPath, LOCK_SH, fd)) {
    case TOutcome::Locked:
        holds.map[lockPath] = THold{fd, false};
        return false;
    case TOutcome::HeldElsewhere:
        return true;
    case TOutcome::NoLockFile:
        break;
    }
    return false;
}
