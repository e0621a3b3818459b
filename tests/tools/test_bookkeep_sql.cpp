// The maintenance tool, run as support staff and scripts run it.
#include "support/TestFixture.h"

#include <QFile>
#include <QProcess>

namespace {

struct ToolRun {
    int exitCode;
    QString out;
    QString err;
};

ToolRun RunTool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(BOOKKEEP_SQL_PATH), args);
    p.waitForFinished(30000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

class ToolTest : public TEmptyFolderTest {};

TEST_F(ToolTest, CreatesQueriesAndRunsBatches) {
    const QString file = Dir() + QStringLiteral("bookkeep.dat");
    EXPECT_EQ(RunTool({QStringLiteral("--create"), file}).exitCode, 0);
    EXPECT_TRUE(QFile::exists(file));
    // never over an existing file
    EXPECT_EQ(RunTool({QStringLiteral("--create"), file}).exitCode, 1);

    ToolRun r = RunTool({file, QStringLiteral("insert into AlamContext(ReMark) values ('a\tb')@#@"
                                              "insert into AlamContext(ReMark) values ('line1\nline2\\x')")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());

    r = RunTool({file, QStringLiteral("  SELECT ID,ReMark,Null as 空 from AlamContext order by ID")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, QStringLiteral("ID\tReMark\t空\n1\ta\\tb\t\n2\tline1\\nline2\\\\x\t\n"));

    r = RunTool({file, QStringLiteral("select TypeName, SelfIndex from CustomerType")});
    EXPECT_EQ(r.out, QStringLiteral("TypeName\tSelfIndex\n未分组\t0\n"));
}

TEST_F(ToolTest, FailuresGoToStandardErrorWithExitOne) {
    const QString file = Dir() + QStringLiteral("other.dat");
    ASSERT_EQ(RunTool({QStringLiteral("--create"), file}).exitCode, 0);
    ToolRun r = RunTool({file, QStringLiteral("select nosuch from Alam")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("数据库查询错误，请检查！\n"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("nosuch")));

    r = RunTool({file, QStringLiteral("insert into AlamContext(ReMark) values ('x')@#@delete from Nope")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("数据库操作失败！\n")));
    EXPECT_EQ(RunTool({file, QStringLiteral("select count(*) from AlamContext")}).out,
              QStringLiteral("count(*)\n0\n"));

    r = RunTool({Dir() + QStringLiteral("missing.dat"), QStringLiteral("select 1")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(RunTool({QStringLiteral("only-one-arg")}).exitCode, 2);
}

// A script too long for a command line comes through standard input, run as one batch; "@#@" inside a quoted
// text stays part of the text.
TEST_F(ToolTest, ReadsALongBatchFromStandardInput) {
    const QString file = Dir() + QStringLiteral("bookkeep.dat");
    ASSERT_EQ(RunTool({QStringLiteral("--create"), file}).exitCode, 0);
    QStringList statements;
    for (int i = 0; i < 20000; ++i)
        statements << QStringLiteral(
                          "insert into Customer(GUID,TypeID,商品名称) values ('G%1',0,'名称@#@%1')")
                          .arg(i);
    statements << QStringLiteral("update Customer set 库存=5 where GUID='G7'");
    QProcess p;
    p.start(QStringLiteral(BOOKKEEP_SQL_PATH), {file, QStringLiteral("-")});
    p.write(statements.join(QStringLiteral("@#@")).toUtf8());
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const ToolRun r = RunTool(
        {file, QStringLiteral("select count(*),sum(库存) from Customer where 商品名称 like '名称@#@%'")});
    EXPECT_EQ(r.out.section(QLatin1Char('\n'), 1, 1), QStringLiteral("20000\t5"));
    // A failing statement at the end keeps nothing of the batch.
    QProcess q;
    q.start(QStringLiteral(BOOKKEEP_SQL_PATH), {file, QStringLiteral("-")});
    q.write("delete from Customer@#@insert into NoSuchTable values (1)");
    q.closeWriteChannel();
    ASSERT_TRUE(q.waitForFinished(60000));
    EXPECT_EQ(q.exitCode(), 1);
    EXPECT_EQ(
        RunTool({file, QStringLiteral("select count(*) from Customer")}).out.section(QLatin1Char('\n'), 1, 1),
        QStringLiteral("20000"));
}
