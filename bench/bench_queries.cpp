// Times the goods list and a one-month movement history through the access layer against the same translated
// statements stepped through the raw SQLite API, on a generated file with 100,000 goods and 1,000,000
// movements.
#include "BenchSupport.h"
#include "data/JetFunctions.h"

#include <QCoreApplication>
#include <QDate>

namespace {

constexpr int kGoods = 100000;
constexpr int kMovements = 1000000;
constexpr int kUserFields = 10;

void Generate() {
    GenerateGoods(kGoods, kUserFields);
    std::printf("goods inserted\n");
    std::fflush(stdout);
    sqlite3* db = gDbAccess->Connection->Handle();
    RawExec("BEGIN");
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "insert into StorIn(GUID,SL,CreateDate) values (?,?,?)", -1, &st, nullptr);
    const double start = DateTimeToDays(QDateTime(QDate(2024, 1, 1), QTime(0, 0)));
    for (int i = 0; i < kMovements; ++i) {
        const QByteArray guid = BenchGuid(int((int64_t(i) * 7919) % kGoods)).toUtf8();
        sqlite3_bind_text(st, 1, guid.constData(), guid.size(), SQLITE_TRANSIENT);
        sqlite3_bind_int(st, 2, 1 + i % 9);
        sqlite3_bind_double(st, 3, start + 365.0 * i / kMovements);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    RawExec("COMMIT");
    std::printf("movements inserted\n");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    TBenchDataFile file;
    TDbAccess& access = *gDbAccess;
    std::printf("generating %d goods, %d movements...\n", kGoods, kMovements);
    std::fflush(stdout);
    Generate();

    QStringList userCols;
    for (int f = 0; f < kUserFields; ++f)
        userCols << BenchFieldName(f);
    const QString goodsSql =
        QStringLiteral("select a.GUID,b.TypeName as 所属分组,商品编号,商品名称,库存,%1,备注 from "
                       "Customer a, CustomerType b  where a.TypeID=b.SelfIndex ")
            .arg(userCols.join(QLatin1Char(',')));
    const double begin = DateTimeToDays(QDateTime(QDate(2024, 5, 1), QTime(0, 0)));
    const double end = DateTimeToDays(QDateTime(QDate(2024, 5, 31), QTime(23, 59, 59)));
    const QString historySql =
        QStringLiteral("select b.商品编号,b.商品名称,a.sl as 进货数量,a.CreateDate as 进货时间  "
                       "from StorIn a,Customer b where a.GUID=b.GUID  "
                       " and %1>=CreateDate and CreateDate>=%2 ")
            .arg(NumberToText(end), NumberToText(begin));

    int ourRows = 0, rawRows = 0;
    const double goodsOurs = MedianMs(5, [&] {
        access.OpenQuery(goodsSql);
        ourRows = access.QueryData->RecordCount();
    });
    const double goodsRaw = MedianMs(5, [&] { rawRows = RawRows(goodsSql); });
    std::printf("goods list: %d rows (raw %d): ours %.1f ms, raw %.1f ms\n", ourRows, rawRows, goodsOurs,
                goodsRaw);
    const double histOurs = MedianMs(5, [&] {
        access.OpenQuery(historySql);
        ourRows = access.QueryData->RecordCount();
    });
    const double histRaw = MedianMs(5, [&] { rawRows = RawRows(historySql); });
    std::printf("history (one month): %d rows (raw %d): ours %.1f ms, raw %.1f ms\n", ourRows, rawRows,
                histOurs, histRaw);
    std::printf("goods-list ratio %.2f, history ratio %.2f\n", goodsOurs / goodsRaw, histOurs / histRaw);
    return 0;
}
