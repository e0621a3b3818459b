// Times the goods list and a one-month stock-in history through the access layer against the same translated
// statements stepped through the raw SQLite API, on the shared benchmark file.
#include "BenchSupport.h"
#include "data/JetFunctions.h"

#include <QCoreApplication>
#include <QDate>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    TBenchDataFile file(TBenchData::Shared);
    TDbAccess& access = *gDbAccess;

    QStringList userCols;
    for (int f = 0; f < kBenchFields; ++f)
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
    std::printf("goods list: %d rows (raw %d)\n", ourRows, rawRows);
    Bench("query_goods_list", goodsOurs, "ms");
    BenchRaw("query_goods_list", goodsRaw, "ms");

    const double histOurs = MedianMs(5, [&] {
        access.OpenQuery(historySql);
        ourRows = access.QueryData->RecordCount();
    });
    const double histRaw = MedianMs(5, [&] { rawRows = RawRows(historySql); });
    std::printf("stock-in history, one month: %d rows (raw %d)\n", ourRows, rawRows);
    Bench("query_history_month", histOurs, "ms");
    BenchRaw("query_history_month", histRaw, "ms");
    return 0;
}
