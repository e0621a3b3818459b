// bookkeep_core
// The workbook and CSV readers: what a person sees in each cell becomes the cell's text.
#include "common/UException.h"
#include "maint/SheetTable.h"
#include "maint/XlsRecords.h"
#include "support/TestFixture.h"

#include <QDate>
#include <QFile>
#include <xlsxwriter.h>

void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

QString Fixture(const char* name) {
    return QStringLiteral(BK_FIXTURES) + QString::fromUtf8(name);
}

// Rows as "cell|cell|...", an empty cell as "∅".
QStringList Texts(const TSheetTable& t) {
    QStringList rows;
    for (int r = 0; r < t.RowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < t.Header.size(); ++c)
            cells << t.Cell(r, c).value_or(QStringLiteral("∅"));
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

const QStringList kHeader{"商品编号", "商品名称", "颜色", "数量", "日期", "备用"};
const QStringList kGoods{"6901234567892|苹果|红|12|2024-03-01|∅",
                         "A-002|香蕉, 大|∅|3.5|2024-03-02 13:45:30|x", "1001|橙子|TRUE|0.3|1999-12-31|∅",
                         "0012|梨\"雪花\"|黄|-7|∅|1234567.125"};

QStringList WithTotals(const QStringList& rows, const QStringList& totals) {
    QStringList out;
    for (int i = 0; i < rows.size(); ++i)
        out << rows[i] + QLatin1Char('|') + totals[i];
    return out;
}

struct TReaderCase {
    const char* file;
    QStringList header;
    QStringList rows;
};

} // namespace

class SheetReaders : public ::testing::TestWithParam<TReaderCase> {};

TEST_P(SheetReaders, ReadTheFirstSheetAsAPersonSeesIt) {
    const TReaderCase& c = GetParam();
    const TSheetTable t = ReadSheetFile(Fixture(c.file));
    EXPECT_EQ(t.Header, c.header);
    EXPECT_EQ(Texts(t), c.rows);
}

const QStringList kCsvGoods{"6901234567892|苹果|红|12|2024-03-01|∅|24",
                            "A-002|香蕉, 大|∅|3.5|2024-03-02 13:45:30|x|7",
                            "1001|橙子|1|0.3|12/31/1999|∅|0.6", "0012|梨\"雪花\"|黄|-7|∅|1234567.125|-14"};

const QStringList kFormulaHeader{"商品编号", "商品名称", "到货", "错误", "空"};
const QStringList kFormulaRows{"F-1|F-1号|2024-05-06|#DIV/0!|∅", "F-2|ab|2024-05-06 06:00:00|#N/A|∅"};

INSTANTIATE_TEST_SUITE_P(
    Fixtures, SheetReaders,
    ::testing::Values(TReaderCase{"goods_openpyxl.xlsx", kHeader, kGoods},
                      TReaderCase{"goods_lo.xlsx", kHeader + QStringList{"合计"},
                                  WithTotals(kGoods, {"24", "7", "0.6", "-14"})},
                      TReaderCase{"goods_lo.xls", kHeader + QStringList{"合计"},
                                  WithTotals(kGoods, {"24", "7", "0.6", "-14"})},
                      TReaderCase{"goods_xlwt.xls", kHeader, kGoods},
                      // Formula results of every kind: text, dates by their format, errors, the empty text.
                      TReaderCase{"formulas.xlsx", kFormulaHeader, kFormulaRows},
                      TReaderCase{"formulas.xls", kFormulaHeader, kFormulaRows},
                      // Text files hold what the program that saved them wrote: no types to read.
                      TReaderCase{"goods_utf8.csv", kHeader + QStringList{"合计"}, kCsvGoods},
                      TReaderCase{"goods_utf8_bom.csv", kHeader + QStringList{"合计"}, kCsvGoods},
                      TReaderCase{"goods_gb18030.csv", kHeader + QStringList{"合计"}, kCsvGoods},
                      TReaderCase{"empty_first.xlsx", {}, {}}, TReaderCase{"empty_first.xls", {}, {}},
                      TReaderCase{"header_only.xlsx", {"商品编号", "商品名称"}, {}},
                      TReaderCase{"missing_column.xls", {"商品编号", "颜色"}, {"B-1|蓝"}},
                      // A defined name does not replace the first sheet.
                      TReaderCase{"named_range.xlsx", {"商品编号", "商品名称"}, {"N-1|甲", "N-2|乙"}},
                      TReaderCase{"named_range.xls", {"商品编号", "商品名称"}, {"N-1|甲", "N-2|乙"}}));

TEST(NumberText, WholeNumbersPlainOthersShortest) {
    const std::vector<std::pair<double, QString>> cases{{6901234567892.0, "6901234567892"},
                                                        {12.0, "12"},
                                                        {-7.0, "-7"},
                                                        {0.0, "0"},
                                                        {-0.0, "0"},
                                                        {0.1 + 0.2, "0.3"},
                                                        {3.5, "3.5"},
                                                        {1.0 / 3.0, "0.333333333333333"},
                                                        {1234567.125, "1234567.125"},
                                                        {1e20, "1e+20"},
                                                        {0.000001, "1e-06"}};
    for (const auto& [v, text] : cases)
        EXPECT_EQ(NumberText(v), text) << v;
}

TEST(SerialDateText, DatesAndTimesOfDay) {
    EXPECT_EQ(SerialDateText(45352), "2024-03-01");
    EXPECT_EQ(SerialDateText(45352.5), "2024-03-01 12:00:00");
    // rounding to the second may reach the next day
    EXPECT_EQ(SerialDateText(45352.999999), "2024-03-02");
    EXPECT_EQ(SerialDateText(0.75, true), "18:00:00");
    // the days before March 1900, counted with the spreadsheets' 29 February 1900
    EXPECT_EQ(SerialDateText(1), "1900-01-01");
    EXPECT_EQ(SerialDateText(59), "1900-02-28");
    EXPECT_EQ(SerialDateText(61), "1900-03-01");
}

TEST(ParseCsv, QuotesLineBreaksAndEncodings) {
    const QByteArray text = "a,b,c\r\n\"x,1\",\"line1\nline2\",\"\"\"q\"\"\"\r\n,,\r\n1,,3\n";
    TSheetTable t = ParseCsv(text);
    EXPECT_EQ(t.Header, QStringList({"a", "b", "c"}));
    EXPECT_EQ(Texts(t), QStringList({"x,1|line1\nline2|\"q\"", "1|∅|3"}));
    // The same words in GB18030 and in UTF-8 read alike; a last line without its line end counts.
    const QString words = QStringLiteral("名称,数量\n苹果,1");
    const QByteArray gb = QByteArray("\xC3\xFB\xB3\xC6,\xCA\xFD\xC1\xBF\n\xC6\xBB\xB9\xFB,1");
    EXPECT_EQ(Texts(ParseCsv(gb)), Texts(ParseCsv(words.toUtf8())));
    EXPECT_EQ(ParseCsv(gb).Header, QStringList({"名称", "数量"}));
    EXPECT_EQ(Texts(ParseCsv(gb)), QStringList({"苹果|1"}));
}

TEST(FindColumn, ComparesNamesWithoutCase) {
    TSheetTable t = ParseCsv("Color,名称\nred,a\n");
    EXPECT_EQ(t.FindColumn("color"), 0);
    EXPECT_EQ(t.FindColumn("名称"), 1);
    EXPECT_EQ(t.FindColumn("商品名称"), -1);
}

class XlsxWriterWorkbook : public TEmptyFolderTest {};

// libxlsxwriter writes strings inline when it keeps little in memory, and dates by a custom format.
TEST_F(XlsxWriterWorkbook, InlineStringsDatesAndBooleans) {
    const QString path = Dir() + "inline.xlsx";
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* wb = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    lxw_worksheet* ws = workbook_add_worksheet(wb, "表");
    lxw_format* date = workbook_add_format(wb);
    format_set_num_format(date, "yyyy\"年\"m\"月\"d\"日\"");
    lxw_format* builtin = workbook_add_format(wb);
    format_set_num_format_index(builtin, 22);
    worksheet_write_string(ws, 0, 0, "商品名称", nullptr);
    worksheet_write_string(ws, 0, 2, "到货", nullptr);
    worksheet_write_string(ws, 0, 3, "有货", nullptr);
    worksheet_write_string(ws, 1, 0, "甲", nullptr);
    lxw_datetime d{2023, 5, 6, 0, 0, 0};
    worksheet_write_datetime(ws, 1, 2, &d, date);
    worksheet_write_boolean(ws, 1, 3, 0, nullptr);
    worksheet_write_number(ws, 2, 0, 42, nullptr);
    lxw_datetime dt{2023, 5, 6, 8, 30, 0};
    worksheet_write_datetime(ws, 2, 2, &dt, builtin);
    ASSERT_EQ(workbook_close(wb), LXW_NO_ERROR);

    const TSheetTable t = ReadSheetFile(path);
    EXPECT_EQ(t.Header, QStringList({"商品名称", "", "到货", "有货"}));
    EXPECT_EQ(Texts(t), QStringList({"甲|∅|2023-05-06|FALSE", "42|∅|2023-05-06 08:30:00|∅"}));
}

TEST_F(XlsxWriterWorkbook, UnreadableFilesNameTheReason) {
    const QString junk = Dir() + "junk.xlsx";
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("PK\x03\x04 not really a zip");
    f.close();
    for (const QString& path : {junk, Dir() + "missing.xls", Dir() + "notes.doc"}) {
        try {
            ReadSheetFile(path);
            ADD_FAILURE() << path.toStdString();
        } catch (const EAppError& e) {
            EXPECT_TRUE(e.Message().contains(path)) << e.what();
        }
    }
}

// A damaged binary workbook: the record reader gives up quietly at every length, and what freexl makes of
// it is either a table or a reason.
TEST_F(XlsxWriterWorkbook, DamagedBinaryWorkbooksNeverCrash) {
    QFile f(Fixture("formulas.xls"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray whole = f.readAll();
    EXPECT_EQ(ReadXlsFormulaCells(Fixture("formulas.xls")).size(), 8u);
    for (qsizetype cut = 0; cut < whole.size(); cut += 97) {
        const QString path = Dir() + QStringLiteral("cut%1.xls").arg(cut);
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        QByteArray bytes = whole.left(cut);
        bytes += QByteArray(whole.size() - cut, '\xFF'); // the rest overwritten
        out.write(bytes);
        out.close();
        (void)ReadXlsFormulaCells(path);
        try {
            ReadSheetFile(path);
        } catch (const EAppError& e) {
            EXPECT_FALSE(e.Message().isEmpty());
        }
    }
}
