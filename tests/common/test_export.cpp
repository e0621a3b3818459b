// Grid export: the workbook is read back from the .xlsx package and its sheet XML.
#include "common/ExcelExport.h"
#include "controls/CardDBGrid.h"
#include "data/MD.h"
#include "support/TestFixture.h"

#include <QCoreApplication>
#include <QFile>
#include <QXmlStreamReader>
#include <map>
#include <zip.h>

namespace {

const QString kFilter = QStringLiteral("Excel文件 (*.xlsx)");
const QString kFailed = QStringLiteral("操作Excel时出现错误,导出数据失败!错误信息:");

struct TSheetCell {
    bool number = false;
    QString text;
};

QByteArray ReadEntry(zip_t* zip, const char* name) {
    zip_stat_t st;
    if (zip_stat(zip, name, 0, &st) != 0) return {};
    zip_file_t* f = zip_fopen(zip, name, 0);
    if (!f) return {};
    QByteArray data(qsizetype(st.size), '\0');
    const zip_int64_t n = zip_fread(f, data.data(), st.size);
    zip_fclose(f);
    return n == zip_int64_t(st.size) ? data : QByteArray();
}

// The text of the <t> elements inside the current element (rich text runs joined).
QString ReadTextOf(QXmlStreamReader& xml) {
    const QStringView end = xml.name();
    const QString endName = end.toString();
    QString text;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("t"))
            text += xml.readElementText();
        else if (xml.isEndElement() && xml.name() == endName)
            break;
    }
    return text;
}

// The cells of the first sheet by reference ("A1"), shared and inline strings resolved.
std::map<QString, TSheetCell> ReadSheet(const QString& path) {
    std::map<QString, TSheetCell> cells;
    int err = 0;
    zip_t* zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &err);
    if (!zip) return cells;
    QStringList shared;
    QXmlStreamReader sst(ReadEntry(zip, "xl/sharedStrings.xml"));
    while (!sst.atEnd())
        if (sst.readNext() == QXmlStreamReader::StartElement && sst.name() == QLatin1String("si"))
            shared << ReadTextOf(sst);
    QXmlStreamReader xml(ReadEntry(zip, "xl/worksheets/sheet1.xml"));
    zip_close(zip);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("c")) continue;
        const QString ref = xml.attributes().value(QLatin1String("r")).toString();
        const QString type = xml.attributes().value(QLatin1String("t")).toString();
        TSheetCell cell;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isEndElement() && xml.name() == QLatin1String("c")) break;
            if (xml.isStartElement() && xml.name() == QLatin1String("v")) {
                const QString v = xml.readElementText();
                cell.number = type.isEmpty() || type == QLatin1String("n");
                cell.text = type == QLatin1String("s") ? shared.value(v.toInt()) : v;
            } else if (xml.isStartElement() && xml.name() == QLatin1String("is")) {
                cell.text = ReadTextOf(xml);
            }
        }
        cells[ref] = cell;
    }
    return cells;
}

// The sheet as "A1=text" lines in reading order; numbers marked with "#".
QStringList Describe(const std::map<QString, TSheetCell>& cells) {
    std::vector<std::pair<std::pair<int, QString>, QString>> ordered;
    for (const auto& [ref, cell] : cells) {
        int i = 0;
        while (i < ref.size() && ref[i].isLetter())
            ++i;
        ordered.push_back(
            {{ref.mid(i).toInt(), ref.left(i)},
             ref + QLatin1Char('=') + (cell.number ? QStringLiteral("#") : QString()) + cell.text});
    }
    std::sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) {
        return a.first.first != b.first.first ? a.first.first < b.first.first
                                              : (a.first.second.size() != b.first.second.size()
                                                     ? a.first.second.size() < b.first.second.size()
                                                     : a.first.second < b.first.second);
    });
    QStringList out;
    for (const auto& o : ordered)
        out << o.second;
    return out;
}

class ExportTest : public TDataFileTest {
protected:
    void SetUp() override {
        TDataFileTest::SetUp();
        ExecSql(
            QStringLiteral("insert into CustomerType (SelfIndex,ParentIndex,TypeName) values (1,0,'五金')@#@"
                           "insert into Customer (GUID,TypeID,商品编号,商品名称,库存,备注) values "
                           "('G-1',1,'007','螺丝',12.5,'')"));
        // A remark with XML's special characters and a control character the sheet cannot carry.
        TResultSet* rs = gDbAccess->QueryData;
        gDbAccess->OpenQuery(QStringLiteral("select * from Customer where 1=0"));
        rs->Append();
        const std::pair<const char*, QVariant> fields[] = {
            {"GUID", QStringLiteral("G-2")},
            {"TypeID", 0},
            {"商品编号", QStringLiteral("6901234567890123")},
            {"商品名称", QStringLiteral("螺母")},
            {"库存", -3},
            {"备注", QStringLiteral("a<b & \"c\"\x01")},
        };
        for (const auto& [name, value] : fields)
            rs->SetFieldValue(QString::fromUtf8(name), value);
        rs->Post();
    }
    void OpenGoods(const QString& where = QString()) {
        gDbAccess->OpenGrid(
            QStringLiteral("select a.GUID, b.TypeName as 所属分组, a.商品编号, a.商品名称, a.库存, a.备注 "
                           "from Customer a, CustomerType b where a.TypeID=b.SelfIndex ") +
                where + QStringLiteral(" order by a.GUID"),
            &grid);
    }
    TCardDBGrid grid;
};

TEST_F(ExportTest, WritesTitlesAndValuesWithoutTheFirstColumn) {
    OpenGoods();
    ASSERT_TRUE(grid.model()->index(1, 5).data().toString().endsWith(QChar(1)));
    const QString name = Dir() + QStringLiteral("goods.xlsx");
    dialogs.QueueFileName(name);
    ExportGridToExcel(&grid);

    EXPECT_EQ(dialogs.filters, QStringList{kFilter});
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("导出数据到") + name + QStringLiteral("成功!")});
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
    EXPECT_EQ(Describe(ReadSheet(name)), expected);
    // The result set's current row is left where it was.
    EXPECT_EQ(gDbAccess->GridData->RecNo(), 1);
}

TEST_F(ExportTest, FollowsTheGridsOrderAndAnEmptyResultGivesTheTitleRowOnly) {
    OpenGoods();
    grid.TitleClick(4);
    grid.TitleClick(4);
    QString name = Dir() + QStringLiteral("sorted.xlsx");
    dialogs.QueueFileName(name);
    ExportGridToExcel(&grid);
    QStringList sheet = Describe(ReadSheet(name));
    ASSERT_EQ(sheet.size(), 14);
    EXPECT_EQ(sheet[3], QStringLiteral("D1=▼库存")); // the title as the grid shows it
    EXPECT_EQ(sheet[6], QStringLiteral("B2=007"));

    OpenGoods(QStringLiteral("and 1=0"));
    name = Dir() + QStringLiteral("empty.xlsx");
    dialogs.QueueFileName(name);
    ExportGridToExcel(&grid);
    EXPECT_EQ(
        Describe(ReadSheet(name)),
        (QStringList{QStringLiteral("A1=所属分组"), QStringLiteral("B1=商品编号"),
                     QStringLiteral("C1=商品名称"), QStringLiteral("D1=库存"), QStringLiteral("E1=备注")}));
}

struct NameCase {
    const char* chosen;
    const char* saved; // "" when nothing is written
};

TEST_F(ExportTest, FileNameRuleAndCancel) {
    OpenGoods();
    const NameCase cases[] = {
        {"plain", "plain.xlsx"},     {"ready.xlsx", "ready.xlsx"},        {"upper.XLSX", "upper.XLSX.xlsx"},
        {"old.xls", "old.xls.xlsx"}, {"dotted.name", "dotted.name.xlsx"},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.chosen);
        messages.Clear();
        dialogs.QueueFileName(Dir() + QString::fromUtf8(c.chosen));
        ExportGridToExcel(&grid);
        const QString saved = Dir() + QString::fromUtf8(c.saved);
        EXPECT_TRUE(QFile::exists(saved));
        EXPECT_EQ(messages.Texts(),
                  QStringList{QStringLiteral("导出数据到") + saved + QStringLiteral("成功!")});
        EXPECT_EQ(ReadSheet(saved).size(), size_t(14));
    }
    EXPECT_FALSE(QFile::exists(Dir() + QStringLiteral("plain")));

    // Cancelling the dialog writes nothing and says nothing.
    messages.Clear();
    const QStringList before = QDir(Dir()).entryList(QDir::Files);
    ExportGridToExcel(&grid);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(QDir(Dir()).entryList(QDir::Files), before);
}

TEST_F(ExportTest, AFileThatCannotBeWrittenShowsTheReason) {
    OpenGoods();
    const QString name = Dir() + QStringLiteral("missing/folder/out.xlsx");
    dialogs.QueueFileName(name);
    ExportGridToExcel(&grid);
    ASSERT_EQ(messages.shown.size(), size_t(1));
    EXPECT_EQ(messages.shown[0].kind, TMessageKind::Plain);
    EXPECT_TRUE(messages.shown[0].text.startsWith(kFailed)) << messages.shown[0].text.toStdString();
    EXPECT_GT(messages.shown[0].text.size(), kFailed.size());
    EXPECT_FALSE(QFile::exists(name));
}

TEST(LooksLikeNumberTest, TakesPlainDecimalsOnly) {
    const std::pair<const char*, bool> cases[] = {
        {"0", true},
        {"12", true},
        {"-3", true},
        {"12.5", true},
        {"0.25", true},
        {"-0.5", true},
        {"123456789012345", true},
        {"1234567890123456", false},
        {"007", false},
        {"", false},
        {"-", false},
        {"1.", false},
        {".5", false},
        {"1e5", false},
        {" 1", false},
        {"1 ", false},
        {"1,000", false},
        {"+1", false},
        {"2024-01-05", false},
        {"12a", false},
        {"0.000000000000001", true},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(LooksLikeNumber(QString::fromUtf8(text)), expected) << text;
}

} // namespace
