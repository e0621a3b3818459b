// The striped grid: colours, stripes by record, title sorting, column fitting, following the result set.
#include "common/UException.h"
#include "controls/CardDBGrid.h"
#include "data/MD.h"
#include "support/TestFixture.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>

namespace {

class CardDBGridTest : public TDataFileTest {
protected:
    void SetUp() override {
        TDataFileTest::SetUp();
        grid.resize(640, 400);
    }
    // Goods with codes "c01".."cNN" and the given names and stocks, in code order.
    void AddGoods(const QStringList& names, const QList<int>& stocks = {}) {
        QStringList batch;
        for (int i = 0; i < names.size(); ++i)
            batch << QStringLiteral(
                         "insert into Customer (GUID,商品编号,商品名称,库存) values ('g%1','c%2','%3',%4)")
                         .arg(i)
                         .arg(i + 1, 2, 10, QLatin1Char('0'))
                         .arg(QuotedSql(names[i]))
                         .arg(i < stocks.size() ? stocks[i] : 0);
        ExecSql(batch.join(QLatin1String(BatchSeparator)));
    }
    void Open(const QString& sql) { gDbAccess->OpenGrid(sql, &grid); }
    QStringList Titles() const {
        QStringList t;
        for (int i = 0; i < grid.ColumnCount(); ++i)
            t << grid.Title(i);
        return t;
    }
    QString Cell(int row, int column) const { return grid.model()->index(row, column).data().toString(); }
    // The colour painted inside a cell, away from its text and lines.
    QColor Pixel(const QImage& image, int row, int column) const {
        const int x = grid.columnViewportPosition(column) + grid.columnWidth(column) - 4;
        const int y = grid.rowViewportPosition(row) + 2;
        return image.pixelColor(x, y);
    }
    QImage Paint() { return grid.viewport()->grab().toImage(); }
    int TextWidth(const QString& text) const { return QFontMetrics(grid.font()).horizontalAdvance(text); }

    TCardDBGrid grid;
};

TEST_F(CardDBGridTest, ConstructedWithTheDefaultColoursAndAReadOnlyRowGrid) {
    EXPECT_EQ(grid.GridOddColor(), grid.palette().color(QPalette::Base));
    EXPECT_EQ(grid.GridEvenColor(), QColor(255, 251, 240));
    EXPECT_EQ(grid.GriddingRowColor(), QColor(166, 202, 240));
    EXPECT_EQ(grid.GriddingColColor(), QColor(166, 202, 240));
    EXPECT_EQ(grid.property("GridEvenColor").value<QColor>(), QColor(255, 251, 240));
    EXPECT_EQ(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(grid.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(grid.selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_TRUE(grid.verticalHeader()->isHidden());
    EXPECT_TRUE(grid.horizontalHeader()->sectionsClickable());

    AddGoods({QStringLiteral("螺丝")});
    Open(QStringLiteral("select 商品编号, 商品名称 from Customer"));
    EXPECT_EQ(grid.horizontalHeader()->sectionResizeMode(1), QHeaderView::Interactive);
    const QModelIndex cell = grid.model()->index(0, 1);
    EXPECT_FALSE(grid.model()->flags(cell) & Qt::ItemIsEditable);
    EXPECT_EQ(Cell(0, 1), QStringLiteral("螺丝"));
}

TEST_F(CardDBGridTest, StripesFollowRecordNumbersAfterSortingAndScrolling) {
    const QColor odd(20, 160, 20);
    grid.SetGridOddColor(odd);
    const QColor even = grid.GridEvenColor();
    QStringList names;
    for (int i = 0; i < 40; ++i)
        names << QStringLiteral("n%1").arg(i, 2, 10, QLatin1Char('0'));
    AddGoods(names);
    Open(QStringLiteral("select 商品编号, 商品名称 from Customer order by 商品编号"));
    grid.setColumnWidth(1, 200);

    QImage image = Paint();
    EXPECT_EQ(Pixel(image, 0, 1), odd);
    EXPECT_EQ(Pixel(image, 1, 1), even);
    EXPECT_EQ(Pixel(image, 2, 1), odd);

    // Sorting descending: the record that was last is now record 1 and takes the odd colour.
    grid.TitleClick(1);
    grid.TitleClick(1);
    ASSERT_EQ(Cell(0, 1), QStringLiteral("n39"));
    grid.scrollToTop(); // the current record went along to the bottom
    image = Paint();
    EXPECT_EQ(Pixel(image, 0, 1), odd);
    EXPECT_EQ(Pixel(image, 1, 1), even);

    // Scrolling by one row: the top screen row now shows record 2, which stays even.
    grid.verticalScrollBar()->setValue(1);
    ASSERT_EQ(grid.rowAt(1), 1);
    image = Paint();
    EXPECT_EQ(image.pixelColor(grid.columnViewportPosition(1) + grid.columnWidth(1) - 4, 2), even);
    EXPECT_EQ(Pixel(image, 2, 1), odd);
}

TEST_F(CardDBGridTest, CellLinesUseTheGriddingColoursAndPropertiesApplyOnTheNextPaint) {
    AddGoods({QStringLiteral("a"), QStringLiteral("b")});
    Open(QStringLiteral("select 商品编号, 商品名称 from Customer order by 商品编号"));
    grid.setColumnWidth(1, 150);
    const int x = grid.columnViewportPosition(1);
    const int w = grid.columnWidth(1);
    const int y = grid.rowViewportPosition(0);
    const int h = grid.rowHeight(0);

    QImage image = Paint();
    EXPECT_EQ(image.pixelColor(x + w - 10, y + h - 1), QColor(166, 202, 240));
    EXPECT_EQ(image.pixelColor(x + w - 1, y + h / 2), QColor(166, 202, 240));

    grid.SetGriddingRowColor(QColor(0, 0, 255));
    grid.SetGriddingColColor(QColor(255, 0, 0));
    grid.SetGridEvenColor(QColor(250, 250, 0));
    image = Paint();
    EXPECT_EQ(image.pixelColor(x + w - 10, y + h - 1), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(x + w - 1, y + h / 2), QColor(255, 0, 0));
    EXPECT_EQ(Pixel(image, 1, 1), QColor(250, 250, 0));
}

TEST_F(CardDBGridTest, SelectedRowIsPaintedInTheHighlightColourWhileFocused) {
    AddGoods({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    Open(QStringLiteral("select 商品编号, 商品名称 from Customer order by 商品编号"));
    grid.selectRow(1);
    // Without the focus the selection does not show.
    EXPECT_EQ(Pixel(Paint(), 1, 1), grid.GridEvenColor());
    grid.show();
    QApplication::setActiveWindow(&grid);
    grid.setFocus();
    QCoreApplication::processEvents();
    if (!grid.hasFocus()) GTEST_SKIP() << "the platform gives no keyboard focus";
    const QImage image = Paint();
    EXPECT_EQ(Pixel(image, 0, 1), grid.GridOddColor());
    // The whole row takes the highlight, every column of it.
    EXPECT_EQ(Pixel(image, 1, 0), grid.SelectionColor());
    EXPECT_EQ(Pixel(image, 1, 1), grid.SelectionColor());
    EXPECT_EQ(Pixel(image, 2, 1), grid.GridOddColor());
}

struct ClickCase {
    int column;
    const char* titles;
    const char* sort;
    const char* firstName; // 商品名称 of the first row after the click
};

TEST_F(CardDBGridTest, TitleClicksSortAndMoveTheArrow) {
    AddGoods({QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("a")}, {5, 1, 9});
    Open(QStringLiteral("select 商品编号, 商品名称, 库存 from Customer order by 商品编号"));
    const ClickCase clicks[] = {
        {1, "商品编号|▲商品名称|库存", "商品名称", "a"},
        {1, "商品编号|▼商品名称|库存", "商品名称 DESC", "c"},
        {1, "商品编号|▲商品名称|库存", "商品名称", "a"},
        {2, "商品编号|商品名称|▲库存", "库存", "c"},
        {2, "商品编号|商品名称|▼库存", "库存 DESC", "a"},
        {0, "▲商品编号|商品名称|库存", "商品编号", "b"},
        {0, "▼商品编号|商品名称|库存", "商品编号 DESC", "a"},
        {2, "商品编号|商品名称|▲库存", "库存", "c"},
    };
    int step = 0;
    for (const ClickCase& c : clicks) {
        SCOPED_TRACE(step++);
        grid.TitleClick(c.column);
        EXPECT_EQ(Titles().join(QLatin1Char('|')), QString::fromUtf8(c.titles));
        EXPECT_EQ(gDbAccess->GridData->Sort(), QString::fromUtf8(c.sort));
        EXPECT_EQ(Cell(0, 1), QString::fromUtf8(c.firstName));
    }

    // A click on the header does the same as TitleClick.
    emit grid.horizontalHeader()->sectionClicked(1);
    EXPECT_EQ(Titles().join(QLatin1Char('|')), QStringLiteral("商品编号|▲商品名称|库存"));

    // A new query brings titles without arrows and no sort order.
    Open(QStringLiteral("select 商品编号, 商品名称, 库存 from Customer order by 商品编号"));
    EXPECT_EQ(Titles().join(QLatin1Char('|')), QStringLiteral("商品编号|商品名称|库存"));
    EXPECT_TRUE(gDbAccess->GridData->Sort().isEmpty());
    EXPECT_EQ(Cell(0, 1), QStringLiteral("b"));
}

TEST_F(CardDBGridTest, AColumnWhoseNameIsPartOfTheSortedOneStartsAscending) {
    AddGoods({QStringLiteral("b"), QStringLiteral("a")}, {1, 2});
    Open(QStringLiteral("select 商品名称, 库存 as 名称 from Customer"));
    grid.TitleClick(0);
    grid.TitleClick(1);
    EXPECT_EQ(Titles().join(QLatin1Char('|')), QStringLiteral("商品名称|▲名称"));
    EXPECT_EQ(gDbAccess->GridData->Sort(), QStringLiteral("名称"));
    EXPECT_EQ(Cell(0, 1), QStringLiteral("1"));
}

TEST_F(CardDBGridTest, TitleClickAndFittingWithoutOpenDataDoNothing) {
    grid.TitleClick(0);
    grid.FitColumnWidths();
    EXPECT_EQ(grid.ColumnCount(), 0);

    TDataSource source;
    grid.SetDataSource(&source);
    grid.TitleClick(0);
    grid.FitColumnWidths();
    EXPECT_EQ(grid.ColumnCount(), 0);
    EXPECT_EQ(grid.model()->rowCount(), 0);
}

TEST_F(CardDBGridTest, RefreshKeepsSortArrowWidthsAndHiddenColumns) {
    AddGoods({QStringLiteral("b"), QStringLiteral("a")});
    Open(QStringLiteral("select GUID, 商品编号, 商品名称 from Customer"));
    grid.setColumnHidden(0, true);
    grid.setColumnWidth(2, 333);
    grid.TitleClick(2);
    ExecSql(QStringLiteral("insert into Customer (GUID,商品编号,商品名称) values ('g9','c09','0')"));

    gDbAccess->RefreshGrid();
    EXPECT_EQ(grid.model()->rowCount(), 3);
    EXPECT_EQ(Cell(0, 2), QStringLiteral("0"));
    EXPECT_EQ(Titles().join(QLatin1Char('|')), QStringLiteral("GUID|商品编号|▲商品名称"));
    EXPECT_TRUE(grid.isColumnHidden(0));
    EXPECT_EQ(grid.columnWidth(2), 333);
}

struct FitCase {
    const char* label;
    int rows;        // goods rows, codes c01.. in order
    int wideRow;     // 1-based row whose name is long; 0: none
    bool expectWide; // whether the long name widens the column
};

TEST_F(CardDBGridTest, FitsTitlesAndTheFirstFiftyRows) {
    const QString wide = QStringLiteral("一个很长很长很长的商品名称，比标题宽得多");
    const FitCase cases[] = {
        {"no rows", 0, 0, false},
        {"narrow values", 5, 0, false},
        {"wide value in row 50", 60, 50, true},
        {"wide value in row 51", 60, 51, false},
    };
    for (const FitCase& c : cases) {
        SCOPED_TRACE(c.label);
        ExecSql(QStringLiteral("delete from Customer"));
        QStringList names;
        for (int i = 1; i <= c.rows; ++i)
            names << (i == c.wideRow ? wide : QStringLiteral("x"));
        AddGoods(names);
        Open(QStringLiteral("select 商品编号 as 编号, 商品名称 from Customer order by 商品编号"));
        ASSERT_EQ(grid.model()->rowCount(), c.rows);
        EXPECT_EQ(grid.columnWidth(0), std::max(TextWidth(QStringLiteral("编号")) + 24,
                                                c.rows ? TextWidth(QStringLiteral("c01")) + 4 : 0));
        EXPECT_EQ(grid.columnWidth(1),
                  c.expectWide ? TextWidth(wide) + 4 : TextWidth(QStringLiteral("商品名称")) + 24);
    }
}

TEST_F(CardDBGridTest, FitsEveryColumnOfAWideResult) {
    QStringList columns;
    for (int i = 1; i <= 70; ++i)
        columns << QStringLiteral("'%1' as c%2").arg(QString(i, QLatin1Char('w')), QString::number(i));
    Open(QStringLiteral("select ") + columns.join(QLatin1Char(',')) + QStringLiteral(" from SysSet"));
    ASSERT_EQ(grid.ColumnCount(), 70);
    for (int i : {0, 60, 61, 69})
        EXPECT_EQ(grid.columnWidth(i), std::max(TextWidth(QStringLiteral("c%1").arg(i + 1)) + 24,
                                                TextWidth(QString(i + 1, QLatin1Char('w'))) + 4))
            << i;
}

TEST_F(CardDBGridTest, TheSelectedRowIsTheCurrentRecord) {
    AddGoods({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    Open(QStringLiteral("select GUID, 商品名称 from Customer order by 商品编号"));
    TResultSet* data = gDbAccess->GridData;
    EXPECT_EQ(grid.currentIndex().row(), 0);
    grid.selectRow(2);
    EXPECT_EQ(data->FieldByName(QStringLiteral("GUID")).AsString(), QStringLiteral("g2"));

    // Sorting keeps the same record current, at its new place.
    grid.TitleClick(1);
    grid.TitleClick(1);
    EXPECT_EQ(grid.currentIndex().row(), 0);
    EXPECT_EQ(data->FieldByName(QStringLiteral("GUID")).AsString(), QStringLiteral("g2"));

    // After a walk over the rows the grid can follow the result set.
    data->Last();
    grid.FollowDataSet();
    EXPECT_EQ(grid.currentIndex().row(), 2);

    // Running the query again with fewer rows starts on the first record, as the result set does.
    Open(QStringLiteral("select GUID, 商品名称 from Customer order by 商品编号"));
    grid.selectRow(2);
    ExecSql(QStringLiteral("delete from Customer where GUID='g0'"));
    gDbAccess->RefreshGrid();
    EXPECT_EQ(grid.model()->rowCount(), 2);
    EXPECT_EQ(data->RecNo(), 1);
    EXPECT_EQ(grid.currentIndex().row(), 0);
}

TEST_F(CardDBGridTest, AResultSetClosedUnderneathEmptiesTheGridAndARerunBringsBackItsSortArrow) {
    AddGoods({QStringLiteral("b"), QStringLiteral("a"), QStringLiteral("c")});
    Open(QStringLiteral("select GUID, 商品名称 from Customer"));
    grid.TitleClick(1);
    grid.selectRow(2);
    const QString backup = Dir() + QStringLiteral("copy.dat");
    BackupData(backup);

    // Restoring the data file closes every result set.
    RestoreData(backup);
    EXPECT_EQ(grid.model()->rowCount(), 0);
    EXPECT_EQ(grid.ColumnCount(), 0);
    EXPECT_FALSE(Paint().isNull());

    // The held statement runs again with the kept sort order, and the title says so.
    gDbAccess->RefreshGrid();
    EXPECT_EQ(grid.model()->rowCount(), 3);
    EXPECT_EQ(Titles().join(QLatin1Char('|')), QStringLiteral("GUID|▲商品名称"));
    EXPECT_EQ(Cell(0, 1), QStringLiteral("a"));
    grid.TitleClick(1);
    EXPECT_EQ(Titles().join(QLatin1Char('|')), QStringLiteral("GUID|▼商品名称"));
    EXPECT_EQ(gDbAccess->GridData->Sort(), QStringLiteral("商品名称 DESC"));
    EXPECT_EQ(Cell(0, 1), QStringLiteral("c"));

    gDbAccess->GridData->Close();
    EXPECT_EQ(grid.model()->rowCount(), 0);
    EXPECT_FALSE(grid.model()->index(0, 1).data().isValid());
    EXPECT_FALSE(Paint().isNull());
}

TEST_F(CardDBGridTest, ReRunsWithOtherRowCountsWhileScrolledToTheEnd) {
    QStringList names;
    for (int i = 0; i < 60; ++i)
        names << QStringLiteral("n%1").arg(i, 2, 10, QLatin1Char('0'));
    AddGoods(names);
    Open(QStringLiteral("select 商品编号, 商品名称 from Customer order by 商品编号"));
    const std::pair<const char*, int> steps[] = {
        {"delete from Customer where 商品编号 > 'c05'", 5},
        {"delete from Customer", 0},
        {"insert into Customer (GUID,商品编号,商品名称) values ('x1','c99','z')", 1},
    };
    for (const auto& [sql, rows] : steps) {
        SCOPED_TRACE(sql);
        grid.scrollToBottom();
        Paint();
        ExecSql(QString::fromUtf8(sql));
        gDbAccess->RefreshGrid();
        EXPECT_EQ(grid.model()->rowCount(), rows);
        EXPECT_EQ(grid.currentIndex().row(), rows ? 0 : -1);
        const QImage image = Paint();
        if (rows) {
            EXPECT_EQ(Pixel(image, 0, 1), grid.GridOddColor());
            EXPECT_EQ(Cell(rows - 1, 1), QString(rows == 1 ? QStringLiteral("z") : QStringLiteral("n04")));
        }
        EXPECT_FALSE(grid.model()->index(rows, 1).data().isValid());
    }
}

TEST_F(CardDBGridTest, ForgetsADataSourceThatIsDestroyed) {
    AddGoods({QStringLiteral("a")});
    auto* source = new TDataSource;
    source->SetDataSet(gDbAccess->QueryData);
    gDbAccess->OpenQuery(QStringLiteral("select 商品名称 from Customer"));
    grid.SetDataSource(source);
    EXPECT_EQ(grid.model()->rowCount(), 1);
    delete source;
    EXPECT_EQ(grid.DataSource(), nullptr);
    EXPECT_EQ(grid.model()->rowCount(), 0);
    gDbAccess->OpenQuery(QStringLiteral("select 商品名称 from Customer"));
    EXPECT_EQ(grid.model()->rowCount(), 0);
}

} // namespace
