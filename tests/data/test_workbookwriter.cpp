// bookkeep_core
// The workbook writer: cell types from the columns, dates, every character, long texts. Each workbook is read
// back from its package and sheet XML.
#include "common/UException.h"
#include "data/MD.h"
#include "data/WorkbookWriter.h"
#include "support/SheetReader.h"
#include "support/TestFixture.h"

#include <QFile>

namespace {

class WorkbookWriterTest : public TDataFileTest {
protected:
    // Appends a goods row through an updatable result, so that any text reaches the data file as it is.
    void AddGoods(const QString& guid, const QVariant& code, const QVariant& name, const QVariant& stock,
                  const QVariant& remark = QVariant()) {
        TResultSet* rs = gDbAccess->QueryData;
        gDbAccess->OpenQuery(QStringLiteral("select * from Customer where 1=0"));
        rs->Append();
        rs->SetFieldValue(QStringLiteral("GUID"), guid);
        rs->SetFieldValue(QStringLiteral("TypeID"), 0);
        rs->SetFieldValue(QStringLiteral("商品编号"), code);
        rs->SetFieldValue(QStringLiteral("商品名称"), name);
        rs->SetFieldValue(QStringLiteral("库存"), stock);
        rs->SetFieldValue(QStringLiteral("备注"), remark);
        rs->Post();
    }
    TSheet Export(const QString& sql, const TFieldCellKinds& kinds = {}, TWorkbookStats* stats = nullptr) {
        gDbAccess->OpenQuery(sql);
        const QString path = Dir() + QStringLiteral("out.xlsx");
        const TWorkbookStats s =
            WriteWorkbook(path, *gDbAccess->QueryData, SheetColumns(*gDbAccess->QueryData, kinds));
        if (stats) *stats = s;
        return ReadSheet(path);
    }
};

TEST_F(WorkbookWriterTest, CellTypesComeFromTheColumnNotFromTheText) {
    AddGoods(QStringLiteral("G1"), QStringLiteral("007"), QStringLiteral("12.5"), 19.99);
    AddGoods(QStringLiteral("G2"), QStringLiteral("6901234567892"), QStringLiteral("12.50"), -3);
    AddGoods(QStringLiteral("G3"), QStringLiteral("690123456789212345"), QStringLiteral("螺母"), QVariant());
    const TSheet sheet = Export(QStringLiteral("select 商品编号, 商品名称, 库存, 库存*3 as 三倍, 0.1+0.2 as "
                                               "和, 备注, Format(库存) as 文字 from Customer "
                                               "order by GUID"));
    ASSERT_TRUE(sheet.ok) << sheet.error.toStdString();
    const QStringList expected = {
        QStringLiteral("A1=商品编号"),
        QStringLiteral("B1=商品名称"),
        QStringLiteral("C1=库存"),
        QStringLiteral("D1=三倍"),
        QStringLiteral("E1=和"),
        QStringLiteral("F1=备注"),
        QStringLiteral("G1=文字"),
        // codes keep their zeros and every digit; a name that looks like a number stays as typed
        QStringLiteral("A2=007"),
        QStringLiteral("B2=12.5"),
        QStringLiteral("C2=#19.99"),
        QStringLiteral("D2=#59.97"),
        QStringLiteral("E2=#0.3"),
        QStringLiteral("G2=19.99"),
        QStringLiteral("A3=6901234567892"),
        QStringLiteral("B3=12.50"),
        QStringLiteral("C3=#-3"),
        QStringLiteral("D3=#-9"),
        QStringLiteral("E3=#0.3"),
        QStringLiteral("G3=-3"),
        // NULL is an empty cell
        QStringLiteral("A4=690123456789212345"),
        QStringLiteral("B4=螺母"),
        QStringLiteral("E4=#0.3"),
    };
    QStringList described = DescribeSheet(sheet);
    // Numbers are compared by value: the stored text carries all of a double's digits.
    for (QString& line : described) {
        const qsizetype hash = line.indexOf(QLatin1String("=#"));
        if (hash > 0) line = line.left(hash + 2) + QString::number(line.mid(hash + 2).toDouble(), 'g', 15);
    }
    EXPECT_EQ(described, expected);
    // The sum a sheet makes over the numbers is the sum of the values.
    const double sum = sheet.Cell(QStringLiteral("D2"))->value.toDouble() +
                       sheet.Cell(QStringLiteral("D3"))->value.toDouble();
    EXPECT_NEAR(sum, 50.97, 1e-9);
    for (const char* ref : {"A2", "A3", "A4", "B2", "B3"})
        EXPECT_EQ(sheet.Cell(QString::fromLatin1(ref))->type, QStringLiteral("inlineStr")) << ref;
}

TEST_F(WorkbookWriterTest, DatesAreDateCellsThatEveryProgramReadsAlike) {
    ExecSql(QStringLiteral(
        "insert into Customer (GUID,TypeID,商品编号,商品名称,库存) values ('G',0,'A1','螺丝',0)"));
    struct DateCase {
        const char* when; // the day number as the data file holds it
        const char* cell; // what the sheet holds
    };
    // Day 61 is 1900-03-01, from where Excel's day numbers (which count a 29 February 1900) and the others
    // agree.
    const DateCase withTimes[] = {
        {"0", "1899-12-30 00:00:00"},      {"1.5", "1899-12-31 12:00:00"},
        {"2", "1900-01-01 00:00:00"},      {"60", "1900-02-28 00:00:00"},
        {"60.75", "1900-02-28 18:00:00"},  {"-1", "1899-12-29 00:00:00"},
        {"61", "@yyyy-mm-dd hh:mm:ss 61"}, {"45418.9999884259", "@yyyy-mm-dd hh:mm:ss 45418.9999884259"},
    };
    QStringList batch;
    for (const DateCase& c : withTimes)
        batch << QStringLiteral("insert into StorIn (GUID,SL,CreateDate) values ('G',1,%1)")
                     .arg(QLatin1String(c.when));
    ExecSql(batch.join(QStringLiteral("@#@")));
    const TSheet sheet =
        Export(QStringLiteral("select a.CreateDate as 进货时间 from StorIn a order by a.ID"));
    ASSERT_TRUE(sheet.ok);
    int row = 2;
    for (const DateCase& c : withTimes) {
        const TSheetCell* cell = sheet.Cell(QStringLiteral("A%1").arg(row++));
        ASSERT_TRUE(cell) << c.when;
        EXPECT_EQ((cell->IsNumber() ? QLatin1Char('@') + cell->format + QLatin1Char(' ') : QString()) +
                      cell->value,
                  QString::fromUtf8(c.cell))
            << c.when;
    }

    // A column of whole days shows dates only.
    ExecSql(
        QStringLiteral("delete from StorIn@#@insert into StorIn (GUID,SL,CreateDate) values ('G',1,45366)@#@"
                       "insert into StorIn (GUID,SL,CreateDate) values ('G',1,59)"));
    EXPECT_EQ(DescribeSheet(Export(QStringLiteral("select CreateDate from StorIn order by ID"))),
              (QStringList{QStringLiteral("A1=CreateDate"), QStringLiteral("A2=@yyyy-mm-dd 45366"),
                           QStringLiteral("A3=1900-02-27")}));
}

TEST_F(WorkbookWriterTest, TheCallerNamesTheKindsOfTextColumns) {
    // The user's number and date fields are text columns of Customer.
    ExecSql(QStringLiteral(
        "alter table Customer add 单价 varchar(100)@#@alter table Customer add 日期 varchar(100)@#@"
        "insert into Customer (GUID,商品编号,单价,日期) values ('G1','1','12.50','2023-03-15')@#@"
        "insert into Customer (GUID,商品编号,单价,日期) values ('G2','2','','1900-01-01')@#@"
        "insert into Customer (GUID,商品编号,单价,日期) values ('G3','3','约10元','不详')"));
    const TFieldCellKinds kinds = {{QStringLiteral("单价"), TCellKind::Number},
                                   {QStringLiteral("日期"), TCellKind::Date}};
    EXPECT_EQ(
        DescribeSheet(Export(QStringLiteral("select 商品编号,单价,日期 from Customer order by GUID"), kinds)),
        (QStringList{QStringLiteral("A1=商品编号"), QStringLiteral("B1=单价"), QStringLiteral("C1=日期"),
                     QStringLiteral("A2=1"), QStringLiteral("B2=#12.5"),
                     QStringLiteral("C2=@yyyy-mm-dd 45000"), QStringLiteral("A3=2"),
                     QStringLiteral("C3=1900-01-01"),
                     // what reads as no number or date is kept as text
                     QStringLiteral("A4=3"), QStringLiteral("B4=约10元"), QStringLiteral("C4=不详")}));
}

TEST_F(WorkbookWriterTest, EveryCharacterSurvivesAndLongTextsAreCutAtACharacter) {
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80"); // two UTF-16 units
    struct TextCase {
        QString text;
        QString stored; // as the sheet's XML carries it
        QString readBack;
    };
    const QString longText = QString(40000, QLatin1Char('a'));
    // The emoji would straddle the 32,767th unit, so it goes whole.
    const QString emojiAtCut = QString(32766, QLatin1Char('b')) + emoji + QStringLiteral("after");
    const std::vector<TextCase> cases = {
        {QStringLiteral("a") + QChar(0xFFFE) + QStringLiteral("b"), QStringLiteral("a_xFFFE_b"), {}},
        {QStringLiteral("x") + QChar(0xFFFF), QStringLiteral("x_xFFFF_"), {}},
        {QStringLiteral("c") + QChar(1) + QStringLiteral("d"), QStringLiteral("c_x0001_d"), {}},
        {QStringLiteral("nul") + QChar(0) + QStringLiteral("!"), QStringLiteral("nul_x0000_!"), {}},
        {QStringLiteral("line1\r\nline2\tx"), QStringLiteral("line1_x000D_\nline2\tx"), {}},
        {QStringLiteral("a_x000D_b _x1_ _X0041_"), QStringLiteral("a_x005F_x000D_b _x1_ _X0041_"), {}},
        {QStringLiteral("<&>\"'中文") + emoji, QStringLiteral("<&>\"'中文") + emoji, {}},
        {longText, longText.left(32767), longText.left(32767)},
        {emojiAtCut, emojiAtCut.left(32766), emojiAtCut.left(32766)},
    };
    TResultSet* rs = gDbAccess->QueryData;
    for (size_t i = 0; i < cases.size(); ++i) {
        AddGoods(QStringLiteral("G%1").arg(i, 2, 10, QLatin1Char('0')), QString(), QString(), 0,
                 cases[i].text);
        // the text arrives in the data file as it is
        gDbAccess->OpenQuery(
            QStringLiteral("select 备注 from Customer where GUID='G%1'").arg(i, 2, 10, QLatin1Char('0')));
        ASSERT_EQ(rs->Text(0, 0), cases[i].text) << i;
    }
    TWorkbookStats stats;
    const TSheet sheet = Export(QStringLiteral("select 备注 from Customer order by GUID"), {}, &stats);
    ASSERT_TRUE(sheet.ok) << sheet.error.toStdString();
    EXPECT_EQ(stats.Rows, int(cases.size()));
    EXPECT_EQ(stats.CutCells, 2);
    for (size_t i = 0; i < cases.size(); ++i) {
        const TSheetCell* cell = sheet.Cell(QStringLiteral("A%1").arg(i + 2));
        ASSERT_TRUE(cell) << i;
        EXPECT_EQ(cell->value, cases[i].stored) << i;
        EXPECT_EQ(DecodeSheetEscapes(cell->value),
                  cases[i].readBack.isNull() ? cases[i].text : cases[i].readBack)
            << i;
    }
}

TEST_F(WorkbookWriterTest, AFileThatCannotBeWrittenIsAnErrorWithTheReason) {
    gDbAccess->OpenQuery(QStringLiteral("select * from CustomerType"));
    const QString path = Dir() + QStringLiteral("no/such/folder/out.xlsx");
    try {
        WriteWorkbook(path, *gDbAccess->QueryData, SheetColumns(*gDbAccess->QueryData));
        FAIL() << "written";
    } catch (const EAppError& e) {
        EXPECT_FALSE(e.Message().isEmpty());
    }
    EXPECT_FALSE(QFile::exists(path));
}

TEST(SheetCellTextTest, PlainTextsPassUnchanged) {
    for (const char* text : {"", "abc", "商品名称", "_x", "_x12_", "a_b_c"}) {
        bool cut = true;
        EXPECT_EQ(SheetCellText(QString::fromUtf8(text), &cut), QByteArray(text));
        EXPECT_FALSE(cut);
    }
    // The data file keeps UTF-8, so a lone surrogate can only come from the program's own texts.
    bool cut = true;
    EXPECT_EQ(
        SheetCellText(QStringLiteral("lone") + QChar(0xD800) + QStringLiteral("!") + QChar(0xDC00), &cut),
        QByteArray("lone_xD800_!_xDC00_"));
    EXPECT_FALSE(cut);
}

} // namespace
