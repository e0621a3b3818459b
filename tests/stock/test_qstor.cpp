// The movement history window: period, group and search filters, totals, the page switch and the export.
#include "common/StatusPanels.h"
#include "controls/CardDBGrid.h"
#include "data/MD.h"
#include "stock/QStor.h"
#include "stock/StockTestData.h"
#include "support/GuiTestSupport.h"
#include "tree/UntTree.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimeEdit>
#include <QTreeWidget>
#include <QXmlStreamReader>
#include <memory>
#include <zip.h>

using namespace stock_test;

namespace {

const QDate kToday(2024, 5, 6);

QDateTime At(int day, int h, int m, int s) {
    return QDateTime(kToday.addDays(day), QTime(h, m, s));
}

QByteArray Entry(zip_t* zip, const char* name) {
    zip_stat_t st;
    QByteArray data;
    if (zip_stat(zip, name, 0, &st) != 0) return data;
    if (zip_file_t* f = zip_fopen(zip, name, 0)) {
        data.resize(qsizetype(st.size));
        zip_fread(f, data.data(), st.size);
        zip_fclose(f);
    }
    return data;
}

// The texts of a workbook's first sheet in the order they stand (the title row first), whether the sheet
// keeps them inline or in the shared strings.
QStringList SheetTexts(const QString& path) {
    QStringList out;
    int err = 0;
    zip_t* zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &err);
    if (!zip) return out;
    QStringList shared;
    QXmlStreamReader sst(Entry(zip, "xl/sharedStrings.xml"));
    while (!sst.atEnd())
        if (sst.readNext() == QXmlStreamReader::StartElement && sst.name() == QLatin1String("t"))
            shared << sst.readElementText();
    QXmlStreamReader xml(Entry(zip, "xl/worksheets/sheet1.xml"));
    zip_close(zip);
    QString type;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("c"))
            type = xml.attributes().value(QLatin1String("t")).toString();
        else if (xml.name() == QLatin1String("t"))
            out << xml.readElementText();
        else if (xml.name() == QLatin1String("v") && type == QLatin1String("s"))
            out << shared.value(xml.readElementText().toInt());
    }
    return out;
}

class QStorTest : public TDataFileTest {
protected:
    void SetUp() override {
        TDataFileTest::SetUp();
        SetNow(QDateTime(kToday, QTime(12, 0)));
        AddGroup(1, 0, QStringLiteral("饮料"));
        AddGroup(2, 1, QStringLiteral("果汁"));
        AddGoods(1, 1, QStringLiteral("A01"), QStringLiteral("可乐"), 0);
        AddGoods(2, 2, QStringLiteral("B01"), QStringLiteral("橙汁"), 0);
        AddGoods(3, 0, QStringLiteral("C01"), QStringLiteral("饼干"), 0);
        AddMovement("StorIn", 1, 5, At(0, 0, 0, 0));     // the first second of the day
        AddMovement("StorIn", 2, -2, At(0, 23, 59, 59)); // the last one
        AddMovement("StorIn", 3, 10, At(0, 9, 30, 0));
        AddMovement("StorIn", 1, 100, At(1, 0, 0, 0));     // tomorrow
        AddMovement("StorIn", 1, 100, At(-1, 23, 59, 59)); // yesterday
        AddMovement("StorIn", 9, 50, At(0, 10, 0, 0));     // goods deleted since
        AddMovement("StorOut", 1, 3, At(0, 8, 0, 0));
        AddMovement("StorOk", 2, 7, At(0, 8, 0, 0), 4);
    }
    void TearDown() override {
        form.reset();
        SetNow(QDateTime());
        TDataFileTest::TearDown();
    }
    void Open() {
        form = std::make_unique<TFormQStor>();
        form->show();
        QApplication::processEvents();
    }
    TQStorPage* Page(int i) const { return form->PageAt(i); }
    // The rows a page's grid shows, "code|quantity", sorted.
    QStringList Shown(int page, int quantityColumn = 2) const {
        QStringList out;
        TResultSet* rs = Page(page)->DBGrid1()->DataSet();
        for (int r = 0; rs && r < rs->RecordCount(); ++r)
            out << rs->Text(r, 0) + QLatin1Char('|') + rs->Text(r, quantityColumn);
        out.sort();
        return out;
    }
    QStringList Totals(int page) const {
        TStatusPanels* bar = Page(page)->stat1();
        return {bar->PanelText(0), bar->PanelText(1), bar->PanelText(2), bar->PanelText(3)};
    }
    void ClickGroup(int page, const QString& name) {
        QTreeWidgetItem* node =
            Page(page)->tv1()->findItems(name, Qt::MatchExactly | Qt::MatchRecursive).value(0);
        ASSERT_NE(node, nullptr);
        Page(page)->tv1()->setCurrentItem(node);
        emit Page(page)->tv1()->itemClicked(node, 0);
    }
    std::unique_ptr<TFormQStor> form;
};

TEST_F(QStorTest, OpeningListsTodaysStockInWithBothEndsAndTotals) {
    Open();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("进出货查询"));
    EXPECT_EQ(form->pgc1()->currentIndex(), 0);
    EXPECT_EQ(form->pgc1()->tabText(2), QStringLiteral("商品盘点查询"));
    EXPECT_EQ(Page(0)->dtpBeginTime()->time(), QTime(0, 0, 0));
    EXPECT_EQ(Page(0)->dtpEndTime()->time(), QTime(23, 59, 59));
    EXPECT_EQ(Page(2)->dtpEnd()->date(), kToday);
    EXPECT_EQ(Page(2)->stat1(), nullptr);
    // Deleted goods are not listed; negatives count against the rest.
    EXPECT_EQ(Shown(0), QStringList({"A01|5", "B01|-2", "C01|10"}));
    EXPECT_EQ(Totals(0), QStringList({"记录数", "3", "进货数量", "13"}));
    EXPECT_EQ(Page(0)->DBGrid1()->DataSet()->FieldNames(),
              QStringList({"商品编号", "商品名称", "进货数量", "进货时间"}));
    // The walk over the rows ends on the last.
    EXPECT_EQ(Page(0)->DBGrid1()->DataSet()->RecNo(), 3);
}

TEST_F(QStorTest, ASecondPastTheEndIsOutside) {
    Open();
    Page(0)->dtpEndTime()->setTime(QTime(23, 59, 58));
    Page(0)->btnQuery()->click();
    EXPECT_EQ(Shown(0), QStringList({"A01|5", "C01|10"}));
    Page(0)->dtpBeginTime()->setTime(QTime(0, 0, 1));
    Page(0)->btnQuery()->click();
    EXPECT_EQ(Shown(0), QStringList({"C01|10"}));
}

TEST_F(QStorTest, ABeginAfterTheEndGivesNothing) {
    Open();
    Page(0)->dtpBegin()->setDate(kToday.addDays(1));
    Page(0)->btnQuery()->click();
    EXPECT_TRUE(Shown(0).isEmpty());
    EXPECT_EQ(Totals(0), QStringList({"记录数", "0", "进货数量", "0"}));
}

TEST_F(QStorTest, AGroupShowsOnlyItsOwnGoodsAndTheSearchNarrows) {
    Open();
    ClickGroup(0, QStringLiteral("饮料"));
    EXPECT_EQ(Shown(0), QStringList({"A01|5"}));
    ClickGroup(0, QStringLiteral("全部商品"));
    Page(0)->cbbQuery()->setCurrentText(QStringLiteral("商品名称"));
    Page(0)->edtQuery()->setText(QStringLiteral("汁"));
    Page(0)->btnQuery()->click();
    EXPECT_EQ(Shown(0), QStringList({"B01|-2"}));
    EXPECT_EQ(Totals(0)[3], QStringLiteral("-2"));
}

TEST_F(QStorTest, SwitchingPagesRunsThatPagesQuery) {
    Open();
    form->pgc1()->setCurrentIndex(1);
    EXPECT_EQ(Shown(1), QStringList({"A01|3"}));
    EXPECT_EQ(Totals(1), QStringList({"记录数", "1", "出货数量", "3"}));
    form->pgc1()->setCurrentIndex(2);
    EXPECT_EQ(Shown(2, 3), QStringList({"B01|7"}));
    EXPECT_EQ(Page(2)->DBGrid1()->DataSet()->FieldNames(),
              QStringList({"商品编号", "商品名称", "原库存", "盘点数量", "盘点时间"}));
    EXPECT_EQ(Shown(2, 2), QStringList({"B01|4"}));
    // Back on the first page, with its own period.
    Page(0)->dtpBegin()->setDate(kToday.addDays(-1));
    form->pgc1()->setCurrentIndex(0);
    EXPECT_EQ(Shown(0), QStringList({"A01|100", "A01|5", "B01|-2", "C01|10"}));
}

TEST_F(QStorTest, TheExportStartsWithTheGoodsCode) {
    Open();
    const QString file = Dir() + QStringLiteral("history");
    dialogs.QueueFileName(file);
    Page(0)->btnExcel()->click();
    ASSERT_TRUE(QFileInfo::exists(file + QStringLiteral(".xlsx")));
    const QStringList strings = SheetTexts(file + QStringLiteral(".xlsx"));
    ASSERT_GE(strings.size(), 4);
    EXPECT_EQ(strings.mid(0, 4), QStringList({"商品编号", "商品名称", "进货数量", "进货时间"}));
}

} // namespace
