// The statements of the stock documents and the history: selection, bookings, period condition.
#include "common/UException.h"
#include "data/MD.h"
#include "data/Schema.h"
#include "stock/UntStor.h"
#include "support/TestFixture.h"

#include <sqlite3.h>

namespace {

TEST(StorSql, SelectionByGroupAndSearch) {
    EXPECT_EQ(StorSelectSql(0, QStringLiteral("商品编号"), QStringLiteral("  ")),
              QStringLiteral("select GUID,商品编号,商品名称,库存,0,备注 from Customer where 1=1 "));
    EXPECT_EQ(
        StorSelectSql(7, QStringLiteral("商品名称"), QStringLiteral("O'N")),
        QStringLiteral("select GUID,商品编号,商品名称,库存,0,备注 from Customer where 1=1  and TypeID=7 "
                       "and 商品名称 like '%O''N%'  "));
}

TEST(StorSql, QuantityValues) {
    const std::pair<const char*, long long> cases[] = {
        {"5", 5}, {"-5", -5}, {"0", 0}, {"", 0}, {"-", 0}, {"1.5", 0}, {"x", 0}, {"2147483647", 2147483647}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(QuantityValue(QString::fromUtf8(text)), value) << text;
    EXPECT_EQ(QuantitySum({QStringLiteral("5"), QStringLiteral("-5")}), 0);
    EXPECT_EQ(QuantitySum({QStringLiteral("2147483647"), QStringLiteral("2147483647")}), 4294967294LL);
}

std::vector<TStorRow> DocRows() {
    return {{QStringLiteral("G1"), QStringLiteral("A1"), QStringLiteral("甲"), QStringLiteral("10"), {}},
            {QStringLiteral("G2"), QStringLiteral("A2"), QStringLiteral("乙"), QStringLiteral("3"), {}},
            {QStringLiteral("G3"), QStringLiteral("A3"), QStringLiteral("丙"), QStringLiteral("0"), {}}};
}

TEST(StorSql, BookingsSkipZeroAndUnchangedRows) {
    const std::vector<QString> q = {QStringLiteral("4"), QStringLiteral("0"), QStringLiteral("-2")};
    EXPECT_EQ(
        StorBookingBatch(TStorKind::In, DocRows(), q),
        QStringLiteral("@#@insert into StorIn ([GUID],SL) values ('G1',4) @#@update Customer set 库存=库存+4 "
                       "where [GUID]='G1' @#@insert into StorIn ([GUID],SL) values ('G3',-2) @#@update "
                       "Customer set 库存=库存+-2 where [GUID]='G3' "));
    EXPECT_EQ(StorBookingBatch(TStorKind::Out, DocRows(),
                               {QStringLiteral("0"), QStringLiteral("7"), QStringLiteral("0")}),
              QStringLiteral("@#@insert into StorOut ([GUID],SL) values ('G2',7) @#@update Customer set "
                             "库存=库存-7 where [GUID]='G2' "));
    EXPECT_EQ(
        StorBookingBatch(TStorKind::Ok, DocRows(),
                         {QStringLiteral("10"), QStringLiteral("5"), QStringLiteral("0")}),
        QStringLiteral("@#@insert into StorOk ([GUID],SL,Oldsl) values ('G2',5,3) @#@update Customer set "
                       "库存=5 where [GUID]='G2' "));
    EXPECT_EQ(StorBookingBatch(TStorKind::Out, DocRows(),
                               {QStringLiteral("-3"), QStringLiteral("0"), QStringLiteral("0")}),
              QStringLiteral("@#@insert into StorOut ([GUID],SL) values ('G1',-3) @#@update Customer set "
                             "库存=库存-(-3) where [GUID]='G1' "));
    EXPECT_TRUE(StorBookingBatch(TStorKind::Ok, DocRows(),
                                 {QStringLiteral("10"), QStringLiteral("3"), QStringLiteral("0")})
                    .isEmpty());
}

TEST(StorSql, StocktakeRefusesAStockThatIsNoWholeNumber) {
    auto rows = DocRows();
    rows[1].Stock = QString();
    EXPECT_THROW(StorBookingBatch(TStorKind::Ok, rows,
                                  {QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1")}),
                 EAppError);
}

TEST(HistorySql, PeriodConditionAsDayNumbers) {
    const QDate day(2024, 5, 6);
    EXPECT_EQ(PeriodCondition(QDateTime(day, QTime(0, 0)), QDateTime(day, QTime(23, 59, 59))),
              QStringLiteral(" and 45418.9999884259>=CreateDate and CreateDate>=45418 "));
    EXPECT_EQ(DayNumberText(QDateTime(day, QTime(12, 0, 0, 700))), QStringLiteral("45418.5"));
    EXPECT_EQ(DayNumberText(QDateTime(QDate(1899, 12, 30), QTime(6, 0))), QStringLiteral("0.25"));
}

TEST(HistorySql, GroupAndSearchConditions) {
    const QDate day(2024, 5, 6);
    const QString sql = HistorySql(2, QDateTime(day, QTime(0, 0)), QDateTime(day, QTime(23, 59, 59)), 4,
                                   QStringLiteral("商品名称"), QStringLiteral("it's"));
    EXPECT_EQ(
        sql, QStringLiteral("select b.商品编号,b.商品名称,a.Oldsl as 原库存,a.sl as 盘点数量,a.CreateDate as "
                            "盘点时间  from StorOk a,Customer b where a.GUID=b.GUID   and "
                            "45418.9999884259>=CreateDate and CreateDate>=45418  and b.TypeID=4 and 商品名称 "
                            "like '%it''s%'  "));
}

class SchemaUpgradeTest : public TDataFileTest {};

TEST_F(SchemaUpgradeTest, NewFilesHaveTheGuidIndexes) {
    EXPECT_EQ(
        Rows(QStringLiteral("select name from sqlite_master where type='index' and name like 'Stor%GUID' "
                            "order by name")),
        QStringList(
            {QStringLiteral("StorIn_GUID"), QStringLiteral("StorOk_GUID"), QStringLiteral("StorOut_GUID")}));
}

TEST_F(SchemaUpgradeTest, AnOlderFileGetsThemOnceAtConnect) {
    // Make the file look like one of the first format, with a movement in it.
    ExecSql(QStringLiteral("insert into StorIn (GUID,SL) values ('G',3)"));
    sqlite3* db = gDbAccess->Connection->Handle();
    ASSERT_EQ(sqlite3_exec(db,
                           "DROP INDEX StorIn_GUID;DROP INDEX StorOut_GUID;DROP INDEX StorOk_GUID;"
                           "UPDATE BkMeta SET value='1' WHERE key='schema_version'",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    gDbAccess->Connection->Close();
    gDbAccess->Connect();
    ASSERT_TRUE(gDbAccess->Connection->Connected());
    EXPECT_EQ(Rows(QStringLiteral(
                  "select count(*) from sqlite_master where type='index' and name like 'Stor%GUID'")),
              QStringList(QStringLiteral("3")));
    EXPECT_EQ(Rows(QStringLiteral("select value from BkMeta where key='schema_version'")),
              QStringList(QString::number(kDataFileFormat)));
    EXPECT_EQ(Rows(QStringLiteral("select GUID,SL from StorIn")), QStringList(QStringLiteral("G|3")));
    // A second connect finds nothing to do.
    gDbAccess->Connection->Close();
    gDbAccess->Connect();
    EXPECT_TRUE(gDbAccess->Connection->Connected());
}

} // namespace
