// Times the goods page on 100,000 goods with 10 user fields (2 of them numeric): the goods query with its
// fitting, hiding and totals, a typed search sent with "查询", and a keyword search on 商品名称; each against
// the same translated statement stepped through the raw SQLite API in the same run.
#include "BenchSupport.h"
#include "common/UntPublic.h"
#include "controls/CardDBGrid.h"
#include "data/JetSql.h"
#include "data/MD.h"
#include "data/Schema.h"
#include "fields/UntTitle.h"
#include "goods/GoodsBrowser.h"
#include "goods/GoodsPage.h"
#include "goods/UntCustomer.h"
#include "tree/UntTree.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sqlite3.h>
#include <vector>

namespace {

constexpr int kGoods = 100000;
constexpr int kFields = 10;
constexpr int kRuns = 7;

QString FieldName(int f) {
    return f < 2 ? QStringLiteral("数值%1").arg(f) : QStringLiteral("字段%1").arg(f);
}

void Generate() {
    QStringList batch;
    for (int f = 0; f < kFields; ++f) {
        batch << QStringLiteral(
                     "insert into AppTitle (TitleName,TitleType,TitleValues,Titlebt,Titlewy) values "
                     "('%1',%2,'',0,0)")
                     .arg(FieldName(f))
                     .arg(f < 2 ? 4 : 0);
        batch << QStringLiteral("alter table Customer add %1 varchar(100)").arg(FieldName(f));
    }
    for (int g = 1; g <= 20; ++g)
        batch << QStringLiteral(
                     "insert into CustomerType(SelfIndex,ParentIndex,TypeName) values (%1,0,'组%1')")
                     .arg(g);
    ExecSql(batch.join(QLatin1String(BatchSeparator)));

    sqlite3* db = gDbAccess->Connection->Handle();
    RawExec("BEGIN");
    QString cols = QStringLiteral("GUID,TypeID,商品编号,商品名称,库存,备注");
    QString params = QStringLiteral("?,?,?,?,?,?");
    for (int f = 0; f < kFields; ++f) {
        cols += QLatin1Char(',') + FieldName(f);
        params += QStringLiteral(",?");
    }
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(
        db, QStringLiteral("insert into Customer(%1) values (%2)").arg(cols, params).toUtf8().constData(), -1,
        &st, nullptr);
    for (int i = 0; i < kGoods; ++i) {
        auto bind = [&](int col, const QString& text) {
            const QByteArray b = text.toUtf8();
            sqlite3_bind_text(st, col, b.constData(), b.size(), SQLITE_TRANSIENT);
        };
        bind(1, QStringLiteral("%1-0000-4000-8000-000000000000").arg(i, 8, 16, QLatin1Char('0')).toUpper());
        sqlite3_bind_int(st, 2, i % 21);
        bind(3, QStringLiteral("SP%1").arg(i, 6, 10, QLatin1Char('0')));
        bind(4, QStringLiteral("商品%1号 %2")
                    .arg(i)
                    .arg(i % 997 == 0 ? QStringLiteral("特价") : QStringLiteral("常规")));
        sqlite3_bind_int(st, 5, i % 500);
        bind(6, QStringLiteral("备注%1").arg(i % 50));
        bind(7, QString::number((i % 1000) / 100.0, 'f', 2));
        bind(8, QString::number(i % 37));
        for (int f = 2; f < kFields; ++f)
            bind(7 + f, QStringLiteral("值%1-%2").arg(f).arg(i % 113));
        if (sqlite3_step(st) != SQLITE_DONE) {
            std::fprintf(stderr, "insert failed: %s\n", sqlite3_errmsg(db));
            std::exit(1);
        }
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    RawExec("COMMIT");
}

void Report(const char* what, double ms, double rawMs, int rows, double limitMs) {
    std::printf("%-44s %8.1f ms  raw SQLite %7.1f ms  ratio %5.2f  rows %6d  limit %4.0f ms  %s\n", what, ms,
                rawMs, ms / rawMs, rows, limitMs, ms < limitMs ? "ok" : "TOO SLOW");
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TBenchDataFile file;
    QElapsedTimer gen;
    gen.start();
    Generate();
    std::printf("generated %d goods with %d user fields in %.1f s\n", kGoods, kFields,
                gen.elapsed() / 1000.0);

    int result = 0;
    {
        TGoodsPage page;
        page.resize(1200, 800);
        page.show();
        TCardTree tree(page.tv1(), QStringLiteral("全部商品"), QStringLiteral("Customertype"));
        auto* browser = new TGoodsBrowser(&page, &tree);
        tree.LoadGroups();
        browser->FillQueryItems();
        app.processEvents();
        const auto shown = [&] { return browser->DBGrid1()->DataSet()->RecordCount(); };
        const auto sqlNow = [&] {
            return GoodsSelectSql(TitleNameList(), tree.SelectedGroupIndex(), page.cbbQuery()->currentText(),
                                  page.edtQuery()->text());
        };

        // 1. The goods query over every goods: query, fitting, hiding, totals.
        double ms = MedianMs(kRuns, [&] { browser->QueryGoods(); });
        int rows = shown();
        double raw = MedianMs(kRuns, [&] { RawRows(sqlNow()); });
        Report("QueryGoods, all goods", ms, raw, rows, 500);
        result |= ms >= 500;

        // 2. A search typed into the box and sent with "查询" (the default item 商品编号).
        page.cbbQuery()->setCurrentIndex(0);
        ms = MedianMs(kRuns, [&] {
            page.edtQuery()->clear();
            page.edtQuery()->insert(QStringLiteral("SP01"));
            page.btnQuery()->click();
        });
        rows = shown();
        raw = MedianMs(kRuns, [&] { RawRows(sqlNow()); });
        Report("typed search on 商品编号 + 查询", ms, raw, rows, 500);
        result |= ms >= 500;

        // 3. A keyword search on 商品名称.
        page.cbbQuery()->setCurrentText(QStringLiteral("商品名称"));
        page.edtQuery()->setText(QStringLiteral("特价"));
        ms = MedianMs(kRuns, [&] { page.btnQuery()->click(); });
        rows = shown();
        raw = MedianMs(kRuns, [&] { RawRows(sqlNow()); });
        Report("keyword search on 商品名称", ms, raw, rows, 300);
        result |= ms >= 300;

        // The totals alone, for the record.
        page.edtQuery()->clear();
        browser->QueryGoods();
        ms = MedianMs(kRuns, [&] { browser->ShowTotals(); });
        std::printf("%-44s %8.1f ms  (part of the goods query)\n", "ShowTotals over all goods", ms);
    }
    delete gDbAccess;
    gDbAccess = nullptr;
    return result;
}
