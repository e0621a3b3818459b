// One program per data file: the lock beside the data file, seen from this process and from another one.
#include "data/DataFileLock.h"
#include "data/Schema.h"
#include "support/TestFixture.h"

#include <QFile>
#include <QProcess>
#include <csignal>
#include <memory>

namespace {

// Another process that takes the file ("hold" like the program, "share" like a writing tool). Returns the
// process while it holds the file, or null when it could not take it.
std::unique_ptr<QProcess> StartHolder(const QString& mode, const QString& file) {
    auto p = std::make_unique<QProcess>();
    p->start(QStringLiteral(DATAFILE_HELPER_PATH), {mode, file});
    if (!p->waitForStarted(10000)) return nullptr;
    while (p->state() == QProcess::Running && !p->canReadLine())
        p->waitForReadyRead(100);
    if (!p->canReadLine()) {
        p->waitForFinished(10000);
        return nullptr;
    }
    return p;
}

// Exit code of a helper that tries to take the file and lets it go at once.
int TryInOtherProcess(const QString& mode, const QString& file) {
    QProcess p;
    p.start(QStringLiteral(DATAFILE_HELPER_PATH), {mode, file});
    p.waitForStarted(10000);
    p.closeWriteChannel();
    p.waitForFinished(10000);
    return p.exitCode();
}

} // namespace

class DataFileLockTest : public TEmptyFolderTest {
protected:
    void SetUp() override {
        TEmptyFolderTest::SetUp();
        file = Dir() + QStringLiteral("bookkeep.dat");
        CreateDataFile(file);
    }
    void TearDown() override {
        ReleaseDataFile(file);
        TEmptyFolderTest::TearDown();
    }
    QString file;
};

TEST_F(DataFileLockTest, TheHolderKeepsOthersOutUntilItLetsGo) {
    ASSERT_TRUE(LockDataFile(file));
    EXPECT_TRUE(LockDataFile(file)) << "taking it again in the same process";
    EXPECT_FALSE(DataFileHeldElsewhere(file)) << "this process is not elsewhere";
    EXPECT_TRUE(QFile::exists(DataFileLockPath(file)));
    EXPECT_EQ(TryInOtherProcess(QStringLiteral("hold"), file), 3);
    EXPECT_EQ(TryInOtherProcess(QStringLiteral("share"), file), 3);

    ReleaseDataFile(file);
    EXPECT_FALSE(QFile::exists(DataFileLockPath(file))) << "an orderly end leaves nothing behind";
    EXPECT_EQ(TryInOtherProcess(QStringLiteral("hold"), file), 0);
    EXPECT_FALSE(QFile::exists(DataFileLockPath(file)));
}

TEST_F(DataFileLockTest, AnotherProgramHoldingTheFileIsSeenAndItsCrashFreesIt) {
    auto holder = StartHolder(QStringLiteral("hold"), file);
    ASSERT_TRUE(holder);
    EXPECT_FALSE(LockDataFile(file));
    EXPECT_TRUE(DataFileHeldElsewhere(file));

    // Killed: the lock file stays behind, unlocked, and blocks nobody.
    ::kill(pid_t(holder->processId()), SIGKILL);
    holder->waitForFinished(10000);
    EXPECT_TRUE(QFile::exists(DataFileLockPath(file)));
    EXPECT_FALSE(DataFileHeldElsewhere(file));
    ReleaseDataFile(file);
    EXPECT_TRUE(LockDataFile(file));
}

TEST_F(DataFileLockTest, ToolsShareTheFileAndKeepTheProgramOut) {
    auto tool = StartHolder(QStringLiteral("share"), file);
    ASSERT_TRUE(tool);
    EXPECT_EQ(TryInOtherProcess(QStringLiteral("share"), file), 0) << "two tools may write side by side";
    EXPECT_FALSE(LockDataFile(file)) << "the program does not start while a tool writes";
    tool->closeWriteChannel();
    tool->waitForFinished(10000);
    EXPECT_TRUE(LockDataFile(file));
    EXPECT_EQ(TryInOtherProcess(QStringLiteral("share"), file), 3);
}

TEST_F(DataFileLockTest, OneFileUnderTwoNamesIsOneLock) {
    ASSERT_TRUE(QFile::link(Dir(), Dir().chopped(1) + QStringLiteral("-link")));
    const QString other = Dir().chopped(1) + QStringLiteral("-link/bookkeep.dat");
    EXPECT_EQ(DataFileLockPath(other), DataFileLockPath(file));
    QFile::remove(Dir().chopped(1) + QStringLiteral("-link"));
}

TEST_F(DataFileLockTest, AFolderWithoutRoomForTheLockFileDoesNotStopTheStart) {
    // Nothing can be written there; the connection refuses such a file with its own message.
    const QString missingFolder = Dir() + QStringLiteral("gone/bookkeep.dat");
    EXPECT_TRUE(LockDataFile(missingFolder));
    EXPECT_FALSE(DataFileHeldElsewhere(missingFolder));
    ReleaseDataFile(missingFolder);
}

TEST_F(DataFileLockTest, TheToolReadsButDoesNotWriteAFileThatTheProgramHolds) {
    ASSERT_TRUE(LockDataFile(file));
    auto run = [&](const QString& sql) {
        QProcess p;
        p.start(QStringLiteral(BOOKKEEP_SQL_PATH), {file, sql});
        p.waitForFinished(30000);
        return std::make_pair(p.exitCode(), QString::fromUtf8(p.readAllStandardError()));
    };
    auto [rc, err] = run(QStringLiteral("insert into AlamContext(ReMark) values ('x')"));
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(err, QStringLiteral("仓库管理软件已经在运行，不能同时打开同一个数据文件！\n"));
    std::tie(rc, err) = run(QStringLiteral("select count(*) from AlamContext"));
    EXPECT_EQ(rc, 0) << err.toStdString();

    ReleaseDataFile(file);
    std::tie(rc, err) = run(QStringLiteral("insert into AlamContext(ReMark) values ('x')"));
    EXPECT_EQ(rc, 0) << err.toStdString();
    EXPECT_FALSE(QFile::exists(DataFileLockPath(file))) << "the tool's shared hold leaves nothing behind";
}
