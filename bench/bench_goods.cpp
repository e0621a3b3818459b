// Times the goods page on the shared benchmark file (100,000 goods with 10 user fields, 2 of them numeric):
// the goods query with its fitting, hiding and totals, a typed search sent with "查询", and a keyword search
// on 商品名称; each against the same translated statement stepped through the raw SQLite API in the same run.
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

constexpr int kRuns = 7;

void Report(const char* name, double ms, double rawMs, int rows, double limitMs) {
    std::printf("%s: %d rows\n", name, rows);
    Bench(name, ms, "ms", limitMs);
    BenchRaw(name, rawMs, "ms");
}

} // namespace

int main(int argc, char** argv) {
    DefaultToOffscreen();
    QApplication app(argc, argv);
    TBenchDataFile file(TBenchData::Shared);
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
        Report("goods_query_all", ms, raw, rows, 500);

        // 2. A search typed into the box and sent with "查询" (the default item 商品编号).
        page.cbbQuery()->setCurrentIndex(0);
        ms = MedianMs(kRuns, [&] {
            page.edtQuery()->clear();
            page.edtQuery()->insert(QStringLiteral("SP01"));
            page.btnQuery()->click();
        });
        rows = shown();
        raw = MedianMs(kRuns, [&] { RawRows(sqlNow()); });
        Report("goods_search_code", ms, raw, rows, 500);

        // 3. A keyword search on 商品名称.
        page.cbbQuery()->setCurrentText(QStringLiteral("商品名称"));
        page.edtQuery()->setText(QStringLiteral("特价"));
        ms = MedianMs(kRuns, [&] { page.btnQuery()->click(); });
        rows = shown();
        raw = MedianMs(kRuns, [&] { RawRows(sqlNow()); });
        Report("goods_search_name", ms, raw, rows, 300);

        // The totals alone, for the record.
        page.edtQuery()->clear();
        browser->QueryGoods();
        ms = MedianMs(kRuns, [&] { browser->ShowTotals(); });
        Bench("goods_totals", ms, "ms"); // part of the goods query
    }
    return 0;
}
