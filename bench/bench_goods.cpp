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

void Report(const char* what, double ms, double rawMs, int rows, double limitMs) {
    std::printf("%-44s %8.1f ms  raw SQLite %7.1f ms  ratio %5.2f  rows %6d  limit %4.0f ms  %s\n", what, ms,
                rawMs, ms / rawMs, rows, limitMs, ms < limitMs ? "ok" : "TOO SLOW");
}

} // namespace

int main(int argc, char** argv) {
    DefaultToOffscreen();
    QApplication app(argc, argv);
    TBenchDataFile file;
    QElapsedTimer gen;
    gen.start();
    GenerateGoods(kGoods, kFields);
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
