// A second start of the program on a data file that a running program holds.
#include "app/FormMain.h"
#include "app/Startup.h"
#include "data/DataFileLock.h"
#include "data/MD.h"
#include "data/Schema.h"
#include "support/TestFixture.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <sys/stat.h>

namespace {

// Whether some process holds an exclusive flock on the file, read from /proc/locks so that looking does not
// take a lock itself (which would make the starting program refuse).
bool HeldExclusively(const QString& path) {
    struct stat st {};
    if (stat(QFile::encodeName(path).constData(), &st) != 0) return false;
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly)) return false;
    const QByteArray inodeSuffix = ':' + QByteArray::number(qulonglong(st.st_ino));
    for (const QByteArray& line : locks.readAll().split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() >= 6 && f[1] == "FLOCK" && f[3] == "WRITE" && f[5].endsWith(inodeSuffix)) return true;
    }
    return false;
}

QByteArray Digest(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

} // namespace

class SecondInstanceTest : public TEmptyFolderTest {};

TEST_F(SecondInstanceTest, IsRefusedWithoutOpeningTheFileAndTheFirstGoesOn) {
    // The first program is the real one, copied into the folder so that its own folder holds the data file.
    const QString program = Dir() + QStringLiteral("bookkeep");
    ASSERT_TRUE(QFile::copy(QStringLiteral(BOOKKEEP_PROGRAM_PATH), program));
    const QString dataFile = Dir() + QStringLiteral("bookkeep.dat");
    CreateDataFile(dataFile);
    QProcess first;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    first.setProcessEnvironment(env);
    first.start(program, {});
    ASSERT_TRUE(first.waitForStarted(10000));
    QElapsedTimer waited;
    waited.start();
    while (!HeldExclusively(DataFileLockPath(dataFile)) && waited.elapsed() < 30000 &&
           first.state() == QProcess::Running)
        QThread::msleep(20);
    ASSERT_TRUE(HeldExclusively(DataFileLockPath(dataFile))) << first.readAllStandardError().toStdString();
    QThread::msleep(300); // let the first program finish its own start on the file
    const QByteArray before = Digest(dataFile);
    const QStringList filesBefore = QDir(Dir()).entryList(QDir::Files | QDir::Hidden);

    EXPECT_EQ(RunApplication(), 0);

    ASSERT_EQ(messages.shown.size(), 1u) << messages.Texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(messages.shown[0].kind, TMessageKind::Error);
    EXPECT_EQ(messages.shown[0].caption, QStringLiteral("错误"));
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("仓库管理软件已经在运行，不能同时打开同一个数据文件！"));
    EXPECT_EQ(gDbAccess, nullptr);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<TFormMain*>(w), nullptr);
    // Nothing was opened or written: the file is as the first program keeps it, no log or engine files.
    EXPECT_EQ(Digest(dataFile), before);
    EXPECT_EQ(QDir(Dir()).entryList(QDir::Files | QDir::Hidden), filesBefore);
    EXPECT_EQ(first.state(), QProcess::Running);
    EXPECT_TRUE(HeldExclusively(DataFileLockPath(dataFile)));

    first.kill();
    first.waitForFinished(10000);
    // The killed program's lock died with it.
    EXPECT_FALSE(HeldExclusively(DataFileLockPath(dataFile)));
    EXPECT_TRUE(LockDataFile(dataFile));
    ReleaseDataFile(dataFile);
}
