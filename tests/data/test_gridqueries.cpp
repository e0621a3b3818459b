// Grid queries: binding a grid to the goods or history result, failures, and running the goods query again.
#include "common/UException.h"
#include "controls/CardDBGrid.h"
#include "data/MD.h"
#include "support/TestFixture.h"

namespace {

const QString kQueryError = QStringLiteral("数据库查询错误，请检查！");

class GridQueriesTest : public TDataFileTest {
protected:
    void AddGoods(const QString& guid, int type, const QString& code, const QString& name) {
        ExecSql(
            QStringLiteral("insert into Customer (GUID,TypeID,商品编号,商品名称) values ('%1',%2,'%3','%4')")
                .arg(guid)
                .arg(type)
                .arg(code, name));
    }
    static QStringList Shown(const TCardDBGrid& grid) {
        QStringList rows;
        for (int r = 0; r < grid.model()->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < grid.model()->columnCount(); ++c)
                cells << grid.model()->index(r, c).data().toString();
            rows << cells.join(QLatin1Char('|'));
        }
        return rows;
    }
    static QStringList Titles(const TCardDBGrid& grid) {
        QStringList t;
        for (int i = 0; i < grid.ColumnCount(); ++i)
            t << grid.Title(i);
        return t;
    }
    static int Width(const TCardDBGrid& grid, const QString& text) {
        return QFontMetrics(grid.font()).horizontalAdvance(text);
    }
};

TEST_F(GridQueriesTest, OpenGridWithoutRowsShowsTheTitlesFittedToThemselves) {
    TCardDBGrid grid;
    gDbAccess->OpenGrid(
        QStringLiteral("select a.GUID, b.TypeName as 所属分组, a.商品编号 from Customer a, CustomerType "
                       "b where a.TypeID=b.SelfIndex "),
        &grid);
    EXPECT_EQ(grid.DataSource(), gDbAccess->GridSource);
    EXPECT_EQ(gDbAccess->GridSource->DataSet(), gDbAccess->GridData);
    EXPECT_EQ(Titles(grid),
              (QStringList{QStringLiteral("GUID"), QStringLiteral("所属分组"), QStringLiteral("商品编号")}));
    EXPECT_EQ(grid.model()->rowCount(), 0);
    for (int i = 0; i < grid.ColumnCount(); ++i)
        EXPECT_EQ(grid.columnWidth(i), Width(grid, grid.Title(i)) + 24) << i;
}

TEST_F(GridQueriesTest, AFailingStatementLeavesTheGridBoundAndEmpty) {
    AddGoods(QStringLiteral("g1"), 0, QStringLiteral("c1"), QStringLiteral("螺丝"));
    TCardDBGrid grid;
    gDbAccess->OpenGrid(QStringLiteral("select 商品编号 from Customer"), &grid);
    ASSERT_EQ(grid.model()->rowCount(), 1);

    const QString bad = QStringLiteral("select 商品编码 from Customer ");
    try {
        gDbAccess->OpenGrid(bad, &grid);
        FAIL() << "no exception";
    } catch (const EDBException& e) {
        EXPECT_EQ(e.UserMsg, kQueryError);
        EXPECT_EQ(e.SqlText, bad);
        EXPECT_FALSE(e.Message().isEmpty());
    }
    EXPECT_EQ(grid.DataSource(), gDbAccess->GridSource);
    EXPECT_EQ(grid.model()->rowCount(), 0);
    EXPECT_FALSE(gDbAccess->GridData->Active());

    // The next query works normally.
    gDbAccess->OpenGrid(QStringLiteral("select 商品名称 from Customer"), &grid);
    EXPECT_EQ(Shown(grid), QStringList{QStringLiteral("螺丝")});
}

TEST_F(GridQueriesTest, RefreshGridRunsTheHeldStatementAgain) {
    AddGoods(QStringLiteral("g1"), 1, QStringLiteral("c1"), QStringLiteral("螺丝"));
    AddGoods(QStringLiteral("g2"), 2, QStringLiteral("c2"), QStringLiteral("螺母"));
    TCardDBGrid grid;
    gDbAccess->OpenGrid(
        QStringLiteral("select GUID, 商品编号, 商品名称 from Customer where TypeID=1 order by 商品编号"),
        &grid);
    ASSERT_EQ(Shown(grid), QStringList{QStringLiteral("g1|c1|螺丝")});

    // Another query elsewhere does not disturb the held statement.
    gDbAccess->OpenQuery(QStringLiteral("select * from Customer where TypeID=2"));
    ExecSql(QStringLiteral("update Customer set 商品名称='长螺丝' where GUID='g1'"));
    AddGoods(QStringLiteral("g3"), 1, QStringLiteral("c3"), QStringLiteral("垫片"));
    gDbAccess->RefreshGrid();
    EXPECT_EQ(Shown(grid), (QStringList{QStringLiteral("g1|c1|长螺丝"), QStringLiteral("g3|c3|垫片")}));
}

TEST_F(GridQueriesTest, AFailingRefreshPassesTheEnginesOwnError) {
    AddGoods(QStringLiteral("g1"), 0, QStringLiteral("c1"), QStringLiteral("螺丝"));
    TCardDBGrid grid;
    gDbAccess->OpenGrid(QStringLiteral("select 商品编号, 备注 from Customer"), &grid);
    ExecSql(QStringLiteral("alter table Customer drop COLUMN 备注 "));
    try {
        gDbAccess->RefreshGrid();
        FAIL() << "no exception";
    } catch (const EDBException&) {
        FAIL() << "the engine's error was wrapped";
    } catch (const EEngineError& e) {
        EXPECT_FALSE(e.Message().isEmpty());
    }
    EXPECT_EQ(grid.model()->rowCount(), 0);
}

TEST_F(GridQueriesTest, ARefreshThatLosesTheSortedFieldStillShowsTheNewColumns) {
    AddGoods(QStringLiteral("g1"), 0, QStringLiteral("c1"), QStringLiteral("螺丝"));
    AddGoods(QStringLiteral("g2"), 0, QStringLiteral("c2"), QStringLiteral("螺母"));
    TCardDBGrid grid;
    gDbAccess->OpenGrid(QStringLiteral("select * from Customer order by 商品编号"), &grid);
    grid.TitleClick(gDbAccess->GridData->FindField(QStringLiteral("备注")));
    ExecSql(QStringLiteral("alter table Customer drop COLUMN 备注 "));
    EXPECT_NO_THROW(gDbAccess->RefreshGrid());
    // The grid shows the rows it was given, under their own titles, unsorted.
    EXPECT_EQ(grid.ColumnCount(), gDbAccess->GridData->FieldCount());
    EXPECT_EQ(Titles(grid), gDbAccess->GridData->FieldNames());
    EXPECT_EQ(grid.model()->rowCount(), 2);
    EXPECT_TRUE(gDbAccess->GridData->Sort().isEmpty());
    // The next refresh works again.
    EXPECT_NO_THROW(gDbAccess->RefreshGrid());
    EXPECT_EQ(grid.model()->rowCount(), 2);
}

TEST_F(GridQueriesTest, HistoryGridsShareTheLastHistoryResult) {
    AddGoods(QStringLiteral("g1"), 0, QStringLiteral("c1"), QStringLiteral("螺丝"));
    ExecSql(QStringLiteral(
        "insert into StorIn ([GUID],SL) values ('g1',5) @#@insert into StorOut ([GUID],SL) values "
        "('g1',2) "));
    TCardDBGrid inGrid, outGrid, goodsGrid;
    gDbAccess->OpenGrid(QStringLiteral("select 商品编号 from Customer"), &goodsGrid);
    gDbAccess->OpenHistoryGrid(
        QStringLiteral(
            "select b.商品编号, b.商品名称, a.SL as 进货数量 from StorIn a, Customer b where a.GUID=b.GUID"),
        &inGrid);
    EXPECT_EQ(inGrid.DataSource(), gDbAccess->HistorySource);
    EXPECT_EQ(Shown(inGrid), QStringList{QStringLiteral("c1|螺丝|5")});

    gDbAccess->OpenHistoryGrid(
        QStringLiteral(
            "select b.商品编号, b.商品名称, a.SL as 出货数量 from StorOut a, Customer b where a.GUID=b.GUID"),
        &outGrid);
    EXPECT_EQ(Shown(outGrid), QStringList{QStringLiteral("c1|螺丝|2")});
    EXPECT_EQ(Shown(inGrid), QStringList{QStringLiteral("c1|螺丝|2")});
    EXPECT_EQ(Titles(inGrid).last(), QStringLiteral("出货数量"));
    // The goods grid keeps its own result.
    EXPECT_EQ(Shown(goodsGrid), QStringList{QStringLiteral("c1")});
}

} // namespace
