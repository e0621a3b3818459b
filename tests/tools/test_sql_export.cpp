// bookkeep_core
// bookkeep-sql FILE --export OUT.xlsx SQL, run as a script runs it; the workbook is read back.
#include "support/SheetReader.h"
#include "support/TestFixture.h"

#include <QFile>
#include <QProcess>

namespace {

struct ToolRun {
    int exitCode;
    QString err;
};

ToolRun RunTool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(BOOKKEEP_SQL_PATH), args);
    p.waitForFinished(30000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
}

class SqlExportTest : public TEmptyFolderTest {
protected:
    void SetUp() override {
        TEmptyFolderTest::SetUp();
        ASSERT_EQ(RunTool({QStringLiteral("--create"), file}).exitCode, 0);
        ASSERT_EQ(
            RunTool({file, QStringLiteral("insert into Customer (GUID,TypeID,商品编号,商品名称,库存) values "
                                          "('G1',0,'0012','螺丝',19.99)@#@"
                                          "insert into StorIn (GUID,SL,CreateDate) values ('G1',3,45366.5)")})
                .exitCode,
            0);
    }
    const QString file = Dir() + QStringLiteral("shop.dat");
    const QString out = Dir() + QStringLiteral("report.xlsx");
};

TEST_F(SqlExportTest, WritesEveryColumnWithTitlesFirst) {
    const ToolRun r =
        RunTool({file, QStringLiteral("--export"), out,
                 QStringLiteral("select b.商品编号, a.SL*b.库存 as 金额, a.CreateDate, b.商品名称 "
                                "from StorIn a, Customer b where a.GUID=b.GUID")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(DescribeSheet(ReadSheet(out)),
              (QStringList{QStringLiteral("A1=商品编号"), QStringLiteral("B1=金额"),
                           QStringLiteral("C1=CreateDate"), QStringLiteral("D1=商品名称"),
                           QStringLiteral("A2=0012"), QStringLiteral("B2=#59.97"),
                           QStringLiteral("C2=@yyyy-mm-dd hh:mm:ss 45366.5"), QStringLiteral("D2=螺丝")}));
}

TEST_F(SqlExportTest, FailuresExitWithOneAndTheReason) {
    struct Case {
        QString sql;
        QString out;
        QString reason;
    };
    const Case cases[] = {
        {QStringLiteral("select nosuch from Customer"), out, QStringLiteral("数据库查询错误，请检查！")},
        {QStringLiteral("delete from Customer"), out, QStringLiteral("select")},
        {QStringLiteral("select * from Customer"), Dir() + QStringLiteral("no/folder/x.xlsx"),
         QStringLiteral("x.xlsx")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql.toStdString());
        const ToolRun r = RunTool({file, QStringLiteral("--export"), c.out, c.sql});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains(c.reason)) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(c.out));
    }
    // the refused delete changed nothing
    EXPECT_EQ(
        RunTool({file, QStringLiteral("--export"), out, QStringLiteral("select count(*) as n from Customer")})
            .exitCode,
        0);
    EXPECT_EQ(ReadSheet(out).Cell(QStringLiteral("A2"))->value, QStringLiteral("1"));
}

} // namespace
