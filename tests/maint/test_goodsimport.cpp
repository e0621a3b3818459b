// bookkeep_core
// The goods import: one new record per sheet row, in one transaction, or nothing at all.
#include "../goods/GoodsTestData.h"
#include "common/UException.h"
#include "data/MD.h"
#include "maint/GoodsImport.h"
#include "support/TestFixture.h"

#include <QRegularExpression>
#include <sqlite3.h>

using namespace goods_test;

void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {
QString Fixture(const char* name) {
    return QStringLiteral(BK_FIXTURES) + QString::fromUtf8(name);
}
} // namespace

class GoodsImport : public TDataFileTest {
protected:
    void SetUp() override {
        TDataFileTest::SetUp();
        AddField(QStringLiteral("颜色"));
        AddGroup(5, 0, QStringLiteral("水果"));
    }
    int GoodsCount() { return QueryInt(QStringLiteral("select count(*) from Customer")); }
};

TEST_F(GoodsImport, OneNameFieldMakesRecordsWithOwnGuidsInTheGroup) {
    AddGoods(Guid(1), 0, QStringLiteral("OLD"), QStringLiteral("旧的"));
    EXPECT_EQ(ImportGoodsFile(Fixture("goods_lo.xlsx"), {QStringLiteral("商品名称")}, 5), 4);
    EXPECT_EQ(
        Rows("select 商品名称, TypeID, 库存, 商品编号 is null, 颜色 is null, 备注 is null from Customer "
             "where TypeID=5 order by rowid"),
        QStringList({"苹果|5|0|1|1|1", "香蕉, 大|5|0|1|1|1", "橙子|5|0|1|1|1", "梨\"雪花\"|5|0|1|1|1"}));
    const QStringList guids = Rows("select GUID from Customer where TypeID=5");
    const QRegularExpression shape("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$");
    for (const QString& g : guids)
        EXPECT_TRUE(shape.match(g).hasMatch()) << g.toStdString();
    EXPECT_EQ(QueryInt("select count(distinct GUID) from Customer"), 5);
    // the goods that were there are untouched
    EXPECT_EQ(Rows("select 商品编号, 商品名称 from Customer where TypeID=0"), QStringList({"OLD|旧的"}));
}

struct TImportCase {
    const char* file;
    QStringList rows;
};

class GoodsImportFormats : public GoodsImport, public ::testing::WithParamInterface<TImportCase> {};

TEST_P(GoodsImportFormats, TickedFieldsTakeTheirColumnsEmptyCellsStayNull) {
    const QStringList fields{QStringLiteral("商品编号"), QStringLiteral("商品名称"), QStringLiteral("颜色")};
    EXPECT_EQ(ImportGoodsFile(Fixture(GetParam().file), fields, 0), 4);
    EXPECT_EQ(Rows("select iif(商品编号 is null,'∅',商品编号), 商品名称, iif(颜色 is null,'∅',颜色), TypeID "
                   "from Customer order by rowid"),
              GetParam().rows);
}

const QStringList kTyped{"6901234567892|苹果|红|0", "A-002|香蕉, 大|∅|0", "1001|橙子|TRUE|0",
                         "0012|梨\"雪花\"|黄|0"};
const QStringList kText{"6901234567892|苹果|红|0", "A-002|香蕉, 大|∅|0", "1001|橙子|1|0",
                        "0012|梨\"雪花\"|黄|0"};

INSTANTIATE_TEST_SUITE_P(
    Files, GoodsImportFormats,
    ::testing::Values(TImportCase{"goods_openpyxl.xlsx", kTyped}, TImportCase{"goods_lo.xlsx", kTyped},
                      TImportCase{"goods_lo.xls", kTyped}, TImportCase{"goods_xlwt.xls", kTyped},
                      TImportCase{"goods_utf8.csv", kText}, TImportCase{"goods_utf8_bom.csv", kText},
                      TImportCase{"goods_gb18030.csv", kText}));

TEST_F(GoodsImport, MissingTickedColumnImportsNothingAndNamesIt) {
    for (const char* file : {"missing_column.xlsx", "missing_column.xls"}) {
        try {
            ImportGoodsFile(Fixture(file), {QStringLiteral("商品编号"), QStringLiteral("商品名称")}, 0);
            ADD_FAILURE() << file;
        } catch (const EAppError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("工作表中没有“商品名称”列"));
        }
        EXPECT_EQ(GoodsCount(), 0);
    }
}

TEST_F(GoodsImport, EmptySheetsAndHeaderOnlyImportNothing) {
    for (const char* file : {"header_only.xlsx", "empty_first.xlsx", "empty_first.xls"})
        EXPECT_EQ(ImportGoodsFile(Fixture(file), {QStringLiteral("商品名称")}, 0), 0) << file;
    EXPECT_EQ(GoodsCount(), 0);
    EXPECT_FALSE(gDbAccess->Connection->InTransaction());
}

TEST_F(GoodsImport, ARefusedRowRollsBackEveryRow) {
    AddGoods(Guid(1), 0, QStringLiteral("OLD"), QStringLiteral("旧的"));
    char* error = nullptr;
    ASSERT_EQ(sqlite3_exec(gDbAccess->Connection->Handle(),
                           "CREATE TRIGGER refuse BEFORE INSERT ON Customer WHEN NEW.商品名称='橙子' "
                           "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END",
                           nullptr, nullptr, &error),
              SQLITE_OK)
        << error;
    try {
        ImportGoodsFile(Fixture("goods_lo.xls"), {QStringLiteral("商品名称")}, 5);
        ADD_FAILURE();
    } catch (const EAppError& e) {
        EXPECT_TRUE(e.Message().contains("refused by the test")) << e.what();
    }
    EXPECT_EQ(GoodsCount(), 1);
    EXPECT_FALSE(gDbAccess->Connection->InTransaction());
    // and the connection goes on working
    EXPECT_EQ(ImportGoodsFile(Fixture("named_range.xlsx"), {QStringLiteral("商品名称")}, 0), 2);
    EXPECT_EQ(GoodsCount(), 3);
}

TEST_F(GoodsImport, MessagesOfTheImport) {
    EXPECT_EQ(ImportFailureMessage("x"), QStringLiteral("数据导入失败，失败原因：x"));
    EXPECT_EQ(ImportSuccessMessage(3), QStringLiteral("输入导入成功，导入条数：3"));
}
