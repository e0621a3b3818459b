// bookkeep_core
// bookkeep-sql --import, as a scheduled job or support staff run it.
#include "support/TestFixture.h"

#include <QFile>
#include <QProcess>

void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

struct TToolRun {
    int exitCode;
    QString out;
    QString err;
};

TToolRun RunTool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(BOOKKEEP_SQL_PATH), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QString Fixture(const char* name) {
    return QStringLiteral(BK_FIXTURES) + QString::fromUtf8(name);
}

} // namespace

class SqlImportTest : public TEmptyFolderTest {
protected:
    void SetUp() override {
        TEmptyFolderTest::SetUp();
        ASSERT_EQ(RunTool({"--create", file}).exitCode, 0);
        const TToolRun r = RunTool({file, "insert into AppTitle (TitleName,TitleType) values ('颜色',0)@#@"
                                          "alter table Customer add 颜色 varchar(100)@#@"
                                          "insert into CustomerType(SelfIndex,ParentIndex,TypeName) values "
                                          "(7,0,'水果')"});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    }
    QString Goods() {
        return RunTool({file, "select 商品编号, 商品名称, 颜色, TypeID, 库存 from Customer order by rowid"})
            .out;
    }
    const QString file = Dir() + QStringLiteral("bookkeep.dat");
};

TEST_F(SqlImportTest, ImportsTheTickedFieldsIntoTheGroup) {
    TToolRun r = RunTool(
        {"--import", file, Fixture("goods_utf8_bom.csv"), "--fields", "商品名称,颜色", "--group", "7"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, QStringLiteral("输入导入成功，导入条数：4\n"));
    EXPECT_EQ(
        Goods(),
        QStringLiteral("商品编号\t商品名称\t颜色\tTypeID\t库存\n"
                       "\t苹果\t红\t7\t0\n\t香蕉, 大\t\t7\t0\n\t橙子\t1\t7\t0\n\t梨\"雪花\"\t黄\t7\t0\n"));
    // the safety copy beside the data file
    EXPECT_TRUE(QFile::exists(Dir() + QStringLiteral("tmpData.dat")));

    r = RunTool({"--import", file, Fixture("named_range.xls"), "--fields", "商品编号"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, QStringLiteral("输入导入成功，导入条数：2\n"));
    EXPECT_EQ(RunTool({file, "select 商品编号, TypeID from Customer where 商品名称 is null"}).out,
              QStringLiteral("商品编号\tTypeID\nN-1\t0\nN-2\t0\n"));
}

struct TRefusal {
    QStringList args; // after FILE
    int exitCode;
    const char* message;
};

TEST_F(SqlImportTest, RefusalsAndFailuresChangeNothing) {
    const std::vector<TRefusal> cases{
        {{Fixture("missing_column.xlsx"), "--fields", "商品编号,商品名称"},
         1,
         "数据导入失败，失败原因：工作表中没有“商品名称”列\n"},
        {{Fixture("goods_lo.xlsx"), "--fields", "库存"},
         1,
         "数据导入失败，失败原因：没有可导入的商品资料字段“库存”\n"},
        {{Fixture("goods_lo.xlsx"), "--fields", "商品名称", "--group", "8"},
         1,
         "数据导入失败，失败原因：没有编号为 8 的商品分组\n"},
        {{Fixture("goods_lo.xlsx"), "--fields", ","}, 1, "必须选择需要导入的商品资料标题!\n"},
        {{Fixture("goods_lo.xlsx"), "--group", "1"}, 2, nullptr},
        {{Fixture("goods_lo.xlsx"), "--fields"}, 2, nullptr},
        {{Fixture("goods_lo.xlsx"), "--fields", "商品名称", "--group", "x"}, 2, nullptr},
    };
    for (const TRefusal& c : cases) {
        const TToolRun r = RunTool(QStringList{"--import", file} + c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        if (c.message)
            EXPECT_EQ(r.err, QString::fromUtf8(c.message));
        else
            EXPECT_TRUE(r.err.startsWith(QStringLiteral("usage:"))) << r.err.toStdString();
    }
    EXPECT_EQ(Goods(), QStringLiteral("商品编号\t商品名称\t颜色\tTypeID\t库存\n"));

    const TToolRun r =
        RunTool({"--import", Dir() + "nothere.dat", Fixture("goods_lo.xlsx"), "--fields", "商品名称"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("数据库连接失败！"))) << r.err.toStdString();
}
