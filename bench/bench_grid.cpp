// Times the goods grid on 100,000 rows: the grid query with column fitting, and the export to a workbook.
#include "BenchSupport.h"
#include "common/UntPublic.h"
#include "controls/CardDBGrid.h"
#include "controls/GridExport.h"
#include "data/MD.h"
#include "data/Schema.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUuid>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sqlite3.h>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kRuns = 5;

void Fill(sqlite3* db) {
    sqlite3_exec(db, "begin", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(
        db,
        "insert into Customer (GUID,TypeID,商品编号,商品名称,库存,备注,规格,产地,单位,单价,条码,日期,颜色) "
        "values (?,?,?,?,?,?,?,?,?,?,?,?,?)",
        -1, &st, nullptr);
    for (int i = 0; i < kRows; ++i) {
        const QByteArray v[] = {
            QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper().toUtf8(),
            QByteArray::number(i % 20),
            QStringLiteral("SP%1").arg(i, 6, 10, QLatin1Char('0')).toUtf8(),
            QStringLiteral("商品名称%1号").arg(i).toUtf8(),
            QByteArray::number(i % 997),
            i % 3 ? QByteArray() : QStringLiteral("备注文字 %1").arg(i).toUtf8(),
            QStringLiteral("%1x%2mm").arg(i % 50).arg(i % 30).toUtf8(),
            QStringLiteral("产地%1").arg(i % 40).toUtf8(),
            QStringLiteral("个").toUtf8(),
            QByteArray::number((i % 1000) / 4.0),
            QByteArray::number(6900000000000LL + i),
            QStringLiteral("2024-%1-%2")
                .arg(i % 12 + 1, 2, 10, QLatin1Char('0'))
                .arg(i % 28 + 1, 2, 10, QLatin1Char('0'))
                .toUtf8(),
            QStringLiteral("颜色%1").arg(i % 9).toUtf8(),
        };
        for (int c = 0; c < 13; ++c) {
            if (c == 1 || c == 4)
                sqlite3_bind_int(st, c + 1, v[c].toInt());
            else
                sqlite3_bind_text(st, c + 1, v[c].constData(), int(v[c].size()), SQLITE_TRANSIENT);
        }
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
}

// Wall time and this process's CPU time: on a busy machine the wall time also counts other processes.
struct TTiming {
    double wallMs;
    double cpuMs;
};

template <class F> TTiming Time(F&& f) {
    QElapsedTimer t;
    t.start();
    const std::clock_t c0 = std::clock();
    f();
    return {t.nsecsElapsed() / 1e6, double(std::clock() - c0) * 1000.0 / CLOCKS_PER_SEC};
}

// The human line, then the BENCH line of the median wall time (with its goal when there is one).
void Report(const QString& name, const char* what, std::vector<TTiming> runs, double limitMs = 0) {
    auto median = [&](auto member) {
        std::vector<double> v;
        for (const TTiming& r : runs)
            v.push_back(r.*member);
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::printf("%s: median wall %.1f ms, median cpu %.1f ms (%zu runs)\n", what, median(&TTiming::wallMs),
                median(&TTiming::cpuMs), runs.size());
    std::printf("BENCH %s %.1f ms", name.toUtf8().constData(), median(&TTiming::wallMs));
    if (limitMs > 0) std::printf(" limit %.0f", limitMs);
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    DefaultToOffscreen();
    QApplication app(argc, argv);
    TBenchDataFile file;
    for (const char* f : {"规格", "产地", "单位", "单价", "条码", "日期", "颜色"})
        ExecSql(QStringLiteral("alter table Customer add %1 varchar(100)").arg(QString::fromUtf8(f)));
    Fill(gDbAccess->Connection->Handle());

    const QString sql = QStringLiteral("select * from Customer order by 商品编号");
    TCardDBGrid grid;
    grid.resize(1000, 600);
    grid.show();
    std::vector<TTiming> open, fit, exports;
    for (int run = 0; run < kRuns; ++run) {
        open.push_back(Time([&] { gDbAccess->OpenGrid(sql, &grid); }));
        fit.push_back(Time([&] { grid.FitColumnWidths(); }));
        QCoreApplication::processEvents(); // paints the first screen
    }
    std::printf("grid: %d rows x %d columns\n", grid.model()->rowCount(), grid.ColumnCount());
    Report(QStringLiteral("grid_open_100000"), "OpenGrid (query, binding, fitting)", open, 500);
    Report(QStringLiteral("grid_fit_100000"), "FitColumnWidths alone", fit);

    // One screen painted at the top, the middle and the end of the rows: the cost must not grow with them.
    for (const int row : {0, kRows / 2, kRows - 1}) {
        grid.scrollTo(grid.model()->index(row, 1));
        std::vector<TTiming> paints;
        for (int run = 0; run < 5; ++run)
            paints.push_back(Time([&] {
                for (int i = 0; i < 20; ++i)
                    grid.viewport()->grab();
            }));
        std::printf("paint at row %d: ", row);
        Report(QStringLiteral("grid_paint20_row%1").arg(row), "20 paints of one screen", paints);
    }

    const QString xlsx = file.Path() + QStringLiteral("/bench.xlsx");
    // As the goods page exports: GUID hidden, the price a number field, the date a date field.
    grid.setColumnHidden(0, true);
    const TFieldCellKinds kinds = {{QStringLiteral("单价"), TCellKind::Number},
                                   {QStringLiteral("日期"), TCellKind::Date}};
    for (int run = 0; run < 3; ++run)
        exports.push_back(Time([&] { WriteGridWorkbook(&grid, xlsx, kinds); }));
    std::printf("export: %d rows x %d columns, %lld bytes\n", grid.model()->rowCount(),
                grid.ColumnCount() - 1, QFileInfo(xlsx).size());
    Report(QStringLiteral("grid_export_100000"), "export", exports, 3000);
    delete gDbAccess;
    gDbAccess = nullptr;
    return 0;
}
