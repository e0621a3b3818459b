// Grid export: the dialog, the messages, the visible columns; the workbook is read back from its package.
#include "controls/CardDBGrid.h"
#include "controls/GridExport.h"
#include "data/MD.h"
#include "fields/UntTitle.h"
#include "support/SheetReader.h"
#include "support/TestFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace {

const QString kFilter = QStringLiteral("Excel文件 (*.xlsx)");
const QString kFailed = QStringLiteral("操作Excel时出现错误,导出数据失败!错误信息:");

QString Saved(const QString& name) {
    return QStringLiteral("导出数据到") + name + QStringLiteral("成功!");
}

class GridExportTest : public TDataFileTest {
protected:
    void SetUp() override {
        TDataFileTest::SetUp();
        ExecSql(
            QStringLiteral("insert into CustomerType (SelfIndex,ParentIndex,TypeName) values (1,0,'五金')@#@"
                           "insert into Customer (GUID,TypeID,商品编号,商品名称,库存,备注) values "
                           "('G-1',1,'007','螺丝',12.5,'')@#@"
                           "insert into Customer (GUID,TypeID,商品编号,商品名称,库存,备注) values "
                           "('G-2',0,'6901234567890123','螺母',-3,'a<b & \"c\"')"));
    }
    // The goods page's grid: GUID first and hidden.
    void OpenGoods(const QString& where = QString()) {
        gDbAccess->OpenGrid(
            QStringLiteral("select a.GUID, b.TypeName as 所属分组, a.商品编号, a.商品名称, a.库存, a.备注 "
                           "from Customer a, CustomerType b where a.TypeID=b.SelfIndex ") +
                where + QStringLiteral(" order by a.GUID"),
            &grid);
        grid.setColumnHidden(0, true);
    }
    QString ExportAs(const QString& chosen, const TFieldCellKinds& kinds = {}) {
        dialogs.QueueFileName(Dir() + chosen);
        ExportGridToExcel(&grid, kinds);
        return Dir() + chosen;
    }
    TCardDBGrid grid;
};

TEST_F(GridExportTest, TheGoodsSheetLeavesOutTheHiddenGuid) {
    OpenGoods();
    const QString name = ExportAs(QStringLiteral("goods.xlsx"));
    EXPECT_EQ(dialogs.filters, QStringList{kFilter});
    EXPECT_EQ(dialogs.suffixes, QStringList{QStringLiteral("xlsx")});
    EXPECT_EQ(messages.Texts(), QStringList{Saved(name)});
    // a plain box captioned with the application's title
    EXPECT_EQ(messages.shown[0].kind, TMessageKind::Plain);
    EXPECT_EQ(messages.shown[0].caption, QCoreApplication::applicationName());
    const QStringList expected = {
        QStringLiteral("A1=所属分组"),
        QStringLiteral("B1=商品编号"),
        QStringLiteral("C1=商品名称"),
        QStringLiteral("D1=库存"),
        QStringLiteral("E1=备注"),
        QStringLiteral("A2=五金"),
        QStringLiteral("B2=007"),
        QStringLiteral("C2=螺丝"),
        QStringLiteral("D2=#12.5"),
        QStringLiteral("A3=未分组"),
        QStringLiteral("B3=6901234567890123"),
        QStringLiteral("C3=螺母"),
        QStringLiteral("D3=#-3"),
        QStringLiteral("E3=a<b & \"c\""),
    };
    EXPECT_EQ(DescribeSheet(ReadSheet(name)), expected);
    // The result set's current row is left where it was.
    EXPECT_EQ(gDbAccess->GridData->RecNo(), 1);
}

TEST_F(GridExportTest, AHistorySheetStartsWithTheGoodsCode) {
    ExecSql(QStringLiteral("insert into StorIn (GUID,SL,CreateDate) values ('G-1',5,45418.5)@#@"
                           "insert into StorIn (GUID,SL,CreateDate) values ('G-2',0.1,45419.25)"));
    gDbAccess->OpenGrid(
        QStringLiteral("select b.商品编号,b.商品名称,a.sl as 进货数量,a.CreateDate as 进货时间  "
                       "from StorIn a,Customer b where a.GUID=b.GUID   order by a.ID"),
        &grid);
    const QString name = ExportAs(QStringLiteral("history.xlsx"));
    EXPECT_EQ(DescribeSheet(ReadSheet(name)),
              (QStringList{QStringLiteral("A1=商品编号"), QStringLiteral("B1=商品名称"),
                           QStringLiteral("C1=进货数量"), QStringLiteral("D1=进货时间"),
                           QStringLiteral("A2=007"), QStringLiteral("B2=螺丝"), QStringLiteral("C2=#5"),
                           QStringLiteral("D2=@yyyy-mm-dd hh:mm:ss 45418.5"),
                           QStringLiteral("A3=6901234567890123"), QStringLiteral("B3=螺母"),
                           QStringLiteral("C3=#0.1"), QStringLiteral("D3=@yyyy-mm-dd hh:mm:ss 45419.25")}));
}

TEST_F(GridExportTest, TheSheetFollowsTheGridsOrderWithPlainTitles) {
    OpenGoods();
    grid.TitleClick(4);
    grid.TitleClick(4);
    ASSERT_EQ(grid.Title(4), QStringLiteral("▼库存"));
    QStringList sheet = DescribeSheet(ReadSheet(ExportAs(QStringLiteral("sorted.xlsx"))));
    ASSERT_EQ(sheet.size(), 14);
    EXPECT_EQ(sheet[3], QStringLiteral("D1=库存")); // the arrow is the grid's, not the data's
    EXPECT_EQ(sheet[6], QStringLiteral("B2=007"));

    // An empty result gives the title row only.
    OpenGoods(QStringLiteral("and 1=0"));
    EXPECT_EQ(
        DescribeSheet(ReadSheet(ExportAs(QStringLiteral("empty.xlsx")))),
        (QStringList{QStringLiteral("A1=所属分组"), QStringLiteral("B1=商品编号"),
                     QStringLiteral("C1=商品名称"), QStringLiteral("D1=库存"), QStringLiteral("E1=备注")}));
}

TEST_F(GridExportTest, TheUsersNumberAndDateFieldsAreTypedByTheirDefinitions) {
    ExecSql(QStringLiteral(
        "insert into AppTitle (TitleName,TitleType,TitleValues,Titlebt,Titlewy) values ('单价',4,'',0,0)@#@"
        "insert into AppTitle (TitleName,TitleType,TitleValues,Titlebt,Titlewy) values ('到期',3,'',0,0)@#@"
        "insert into AppTitle (TitleName,TitleType,TitleValues,Titlebt,Titlewy) values ('条码',0,'',0,0)@#@"
        "alter table Customer add 单价 varchar(100)@#@alter table Customer add 到期 varchar(100)@#@"
        "alter table Customer add 条码 varchar(100)@#@"
        "update Customer set 单价='19.90', 到期='2023-03-15', 条码='0012' where GUID='G-1'"));
    gDbAccess->OpenGrid(QStringLiteral("select GUID,商品编号,单价,到期,条码 from Customer order by GUID"),
                        &grid);
    grid.setColumnHidden(0, true);
    const QStringList sheet =
        DescribeSheet(ReadSheet(ExportAs(QStringLiteral("fields.xlsx"), TitleCellKinds())));
    EXPECT_EQ(sheet.mid(4, 4),
              (QStringList{QStringLiteral("A2=007"), QStringLiteral("B2=#19.9"),
                           QStringLiteral("C2=@yyyy-mm-dd 45000"), QStringLiteral("D2=0012")}));
}

struct NameCase {
    const char* chosen;
    const char* saved;
};

TEST_F(GridExportTest, TheSuffixRuleAndCancel) {
    OpenGoods();
    const NameCase cases[] = {
        {"ready.xlsx", "ready.xlsx"},
        {"upper.XLSX", "upper.XLSX.xlsx"},
        {"old.xls", "old.xls.xlsx"},
        {"dotted.name", "dotted.name.xlsx"},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.chosen);
        messages.Clear();
        ExportAs(QString::fromUtf8(c.chosen));
        const QString saved = Dir() + QString::fromUtf8(c.saved);
        EXPECT_EQ(messages.Texts(), QStringList{Saved(saved)});
        EXPECT_EQ(ReadSheet(saved).cells.size(), size_t(14));
    }
    EXPECT_FALSE(QFile::exists(Dir() + QStringLiteral("dotted.name")));

    // Cancelling the dialog writes nothing and says nothing.
    messages.Clear();
    const QStringList before = QDir(Dir()).entryList(QDir::Files);
    ExportGridToExcel(&grid);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(QDir(Dir()).entryList(QDir::Files), before);
}

TEST_F(GridExportTest, AnExistingFileTheDialogDidNotAskAboutIsReplacedOnlyOnYes) {
    OpenGoods();
    const QString target = Dir() + QStringLiteral("report.v2.xlsx");
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("the user's own file");
    old.close();

    // The dialog asked about "report.v2", which does not exist; the file really written does.
    messages.QueueAnswer(false);
    ExportAs(QStringLiteral("report.v2"));
    ASSERT_EQ(messages.shown.size(), size_t(1));
    EXPECT_EQ(messages.shown[0].kind, TMessageKind::Question);
    EXPECT_TRUE(messages.shown[0].text.contains(target));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("the user's own file"));
    old.close();

    messages.Clear();
    messages.QueueAnswer(true);
    ExportAs(QStringLiteral("report.v2"));
    EXPECT_EQ(messages.Texts().value(1), Saved(target));
    EXPECT_EQ(ReadSheet(target).cells.size(), size_t(14));

    // A name the dialog itself asked about is written without a second question.
    messages.Clear();
    ExportAs(QStringLiteral("report.v2.xlsx"));
    EXPECT_EQ(messages.Texts(), QStringList{Saved(target)});
}

TEST_F(GridExportTest, TheMessageCountsTheCutTexts) {
    ExecSql(QStringLiteral("update Customer set 备注='%1'").arg(QString(33000, QLatin1Char('x'))));
    OpenGoods();
    const QString name = ExportAs(QStringLiteral("long.xlsx"));
    EXPECT_EQ(messages.Texts(),
              QStringList{Saved(name) + QStringLiteral("\n其中2个单元格的文字超过32767个字符,已截断。")});
    EXPECT_EQ(ReadSheet(name).Cell(QStringLiteral("E2"))->value.size(), 32767);
}

TEST_F(GridExportTest, AFileThatCannotBeWrittenShowsTheReason) {
    OpenGoods();
    const QString name = ExportAs(QStringLiteral("missing/folder/out.xlsx"));
    ASSERT_EQ(messages.shown.size(), size_t(1));
    EXPECT_EQ(messages.shown[0].kind, TMessageKind::Plain);
    EXPECT_TRUE(messages.shown[0].text.startsWith(kFailed)) << messages.shown[0].text.toStdString();
    EXPECT_GT(messages.shown[0].text.size(), kFailed.size());
    EXPECT_FALSE(QFile::exists(name));
}

} // namespace
