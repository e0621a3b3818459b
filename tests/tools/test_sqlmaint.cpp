// bookkeep-sql --backup, --restore and --compact, as a scheduled job or support staff run them.
#include "data/DataFileLock.h"
#include "support/TestFixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace {

struct ToolRun {
    int exitCode;
    QString out;
    QString err;
};

ToolRun Tool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(BOOKKEEP_SQL_PATH), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

class SqlMaintTest : public TEmptyFolderTest {
protected:
    void SetUp() override {
        TEmptyFolderTest::SetUp();
        file = Dir() + QStringLiteral("bookkeep.dat");
        ASSERT_EQ(Tool({QStringLiteral("--create"), file}).exitCode, 0);
        ASSERT_EQ(
            Tool({file, QStringLiteral("insert into Customer(GUID,商品编号) values ('G1','C1')")}).exitCode,
            0);
    }
    QString Goods(const QString& path) {
        return Tool({path, QStringLiteral("select GUID from Customer")}).out;
    }
    QString file;
};

TEST_F(SqlMaintTest, BackupAndRestoreWithTheDialogsMessages) {
    ToolRun r = Tool({QStringLiteral("--backup"), file, Dir() + QStringLiteral("nightly")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("备份成功!"));
    EXPECT_EQ(Goods(Dir() + QStringLiteral("nightly.dat")), QStringLiteral("GUID\nG1\n"));

    ASSERT_EQ(Tool({file, QStringLiteral("delete from Customer")}).exitCode, 0);
    r = Tool({QStringLiteral("--restore"), file, Dir() + QStringLiteral("nightly.dat")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("数据恢复成功!"));
    EXPECT_EQ(Goods(file), QStringLiteral("GUID\nG1\n"));
    // the safety copy beside the data file holds what was there before, and the log says so
    EXPECT_EQ(Goods(Dir() + QStringLiteral("tmpData.dat")), QStringLiteral("GUID\n"));
    EXPECT_EQ(QDir(Dir()).entryList({QStringLiteral("Log*.log")}).size(), 1);
}

TEST_F(SqlMaintTest, FailuresAndWrongArguments) {
    QFile f(Dir() + QStringLiteral("foreign.dat"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("plain text");
    f.close();
    ToolRun r = Tool({QStringLiteral("--restore"), file, Dir() + QStringLiteral("foreign.dat")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("数据库恢复失败！\n"))) << r.err.toStdString();
    EXPECT_EQ(Goods(file), QStringLiteral("GUID\nG1\n"));
    EXPECT_FALSE(QFile::exists(Dir() + QStringLiteral("tmpData.dat")));

    r = Tool({QStringLiteral("--backup"), file, Dir() + QStringLiteral("no/such/dir/x")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("数据库备份失败！\n")));

    r = Tool(
        {QStringLiteral("--backup"), Dir() + QStringLiteral("missing.dat"), Dir() + QStringLiteral("x")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("数据库连接失败！")));

    r = Tool({QStringLiteral("--compact"), Dir() + QStringLiteral("foreign.dat")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("数据库压缩失败！")));

    EXPECT_EQ(Tool({QStringLiteral("--backup"), file}).exitCode, 2);
    EXPECT_EQ(Tool({QStringLiteral("--compact"), file, file}).exitCode, 2);
}

TEST_F(SqlMaintTest, CompactKeepsTheRowsAndLeavesNothingBeside) {
    QStringList batch;
    for (int i = 0; i < 200; ++i)
        batch << QStringLiteral("insert into AlamContext(ReMark) values ('%1')")
                     .arg(QString(400, QLatin1Char('q')));
    ASSERT_EQ(Tool({file, batch.join(QStringLiteral("@#@"))}).exitCode, 0);
    ASSERT_EQ(Tool({file, QStringLiteral("delete from AlamContext")}).exitCode, 0);
    const qint64 before = QFileInfo(file).size();
    ToolRun r = Tool({QStringLiteral("--compact"), file});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_LT(QFileInfo(file).size(), before);
    EXPECT_EQ(Goods(file), QStringLiteral("GUID\nG1\n"));
    EXPECT_EQ(QDir(Dir()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("bookkeep.dat")});
}

// While the program holds the data file, the maintenance and import commands leave it alone.
TEST_F(SqlMaintTest, RefusedWhileTheProgramHoldsTheFile) {
    ASSERT_TRUE(LockDataFile(file));
    const QString csv = Dir() + QStringLiteral("goods.csv");
    {
        QFile f(csv);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("商品名称\n苹果\n");
    }
    const QList<QStringList> commands = {
        {QStringLiteral("--backup"), file, Dir() + QStringLiteral("nightly")},
        {QStringLiteral("--restore"), file, Dir() + QStringLiteral("nightly.dat")},
        {QStringLiteral("--compact"), file},
        {QStringLiteral("--import"), file, csv, QStringLiteral("--fields"), QStringLiteral("商品名称")}};
    for (const QStringList& args : commands) {
        const ToolRun r = Tool(args);
        EXPECT_EQ(r.exitCode, 1) << args.first().toStdString();
        EXPECT_EQ(r.err.trimmed(), DataFileInUseText()) << args.first().toStdString();
    }
    EXPECT_FALSE(QFile::exists(Dir() + QStringLiteral("nightly.dat")));
    ReleaseDataFile(file);
    EXPECT_EQ(Goods(file), QStringLiteral("GUID\nG1\n"));
    EXPECT_EQ(Tool(commands[3]).exitCode, 0);
}
