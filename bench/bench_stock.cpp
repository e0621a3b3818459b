// Times the stock documents and the movement history on 100,000 goods and 1,000,000 movements: opening a
// document over a group of 10,000 goods and over all goods, booking 10,000 and 100,000 rows (stock in and
// stocktake), and a month of the history with its totals beside the same statement stepped through raw
// SQLite.
#include "BenchSupport.h"
#include "common/Seams.h"
#include "controls/CardDBGrid.h"
#include "stock/BaseStor.h"
#include "stock/QStor.h"
#include "stock/StorIn.h"
#include "stock/StorList.h"
#include "stock/StorOk.h"
#include "stock/UntStor.h"

#include <QApplication>
#include <QDateEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QTreeWidget>
#include <memory>

namespace {

constexpr int kBigGroup = 21; // the group that holds 10,000 goods
const QDate kFirstDay(2024, 1, 1);

class TSilentMessages : public IMessageSink {
public:
    bool Show(TMessageKind kind, const QString&, const QString& text) override {
        if (kind == TMessageKind::Error) std::fprintf(stderr, "error: %s\n", qPrintable(text));
        return true;
    }
};

// One group of 10,000 goods on top of the shared file's 20 groups.
void MakeBigGroup() {
    RawExec("insert into CustomerType(SelfIndex,ParentIndex,TypeName) values (21,0,'大组')");
    RawExec("update Customer set TypeID=21 where rowid<=10000");
}

QTreeWidgetItem* Node(TFormBaseStor* form, const QString& name) {
    return form->tv1()->findItems(name, Qt::MatchExactly | Qt::MatchRecursive).value(0);
}

void ClickGroup(TFormBaseStor* form, const QString& name) {
    QTreeWidgetItem* node = Node(form, name);
    form->tv1()->setCurrentItem(node);
    emit form->tv1()->itemClicked(node, 0);
}

void Line(const char* name, double value, const char* unit, const char* limit = nullptr) {
    if (limit)
        std::printf("BENCH %s %.1f %s limit %s\n", name, value, unit, limit);
    else
        std::printf("BENCH %s %.1f %s\n", name, value, unit);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    DefaultToOffscreen();
    QApplication app(argc, argv);
    TSilentMessages messages;
    SetMessageSink(&messages);
    // The shared file of scripts/bench.sh; run by hand without it, its content is generated first.
    TBenchDataFile file(TBenchData::Shared);
    MakeBigGroup();

    Line("stock_open_all_100000",
         MedianMs(3,
                  [] {
                      TFormStorIn form;
                      form.show();
                  }),
         "ms", "2000");
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    {
        // From another group to the group of 10,000 goods: the list of a document over that group.
        TFormStorIn form;
        form.show();
        std::vector<double> times;
        for (int i = 0; i < 5; ++i) {
            ClickGroup(&form, QStringLiteral("组1"));
            QElapsedTimer t;
            t.start();
            ClickGroup(&form, QStringLiteral("大组"));
            times.push_back(t.nsecsElapsed() / 1e6);
        }
        Line("stock_open_group_10000", median(times), "ms", "500");
    }

    // The booking alone, the list that follows it included; the window's opening is not counted.
    auto book = [](auto* form, const QString& group, TStorKind kind) {
        ClickGroup(form, group);
        TStorModel* model = form->Model();
        for (int r = 0; r < model->rowCount(); ++r)
            model->SetQuantity(r, kind == TStorKind::Ok
                                      ? QString::number(model->Rows()[size_t(r)].Stock.toInt() + 1)
                                      : QStringLiteral("1"));
        QElapsedTimer t;
        t.start();
        form->btnOK()->click();
        return t.nsecsElapsed() / 1e6;
    };
    {
        TFormStorIn in;
        in.show();
        std::vector<double> small, big;
        for (int i = 0; i < 3; ++i)
            small.push_back(book(&in, QStringLiteral("大组"), TStorKind::In));
        Line("stock_in_10000", median(small), "ms", "1000");
        for (int i = 0; i < 3; ++i)
            big.push_back(book(&in, QStringLiteral("全部商品"), TStorKind::In));
        Line("stock_in_100000", median(big), "ms", "5000");
    }
    {
        TFormStorOk ok;
        ok.show();
        std::vector<double> small, big;
        for (int i = 0; i < 3; ++i)
            small.push_back(book(&ok, QStringLiteral("大组"), TStorKind::Ok));
        Line("stocktake_10000", median(small), "ms", "1000");
        for (int i = 0; i < 3; ++i)
            big.push_back(book(&ok, QStringLiteral("全部商品"), TStorKind::Ok));
        Line("stocktake_100000", median(big), "ms", "5000");
    }

    // A month of stock-in movements; the page's time covers the grid query, fitting and the totals.
    TFormQStor history;
    history.show();
    TQStorPage* page = history.PageAt(0);
    page->dtpBegin()->setDate(QDate(2024, 6, 1));
    page->dtpEnd()->setDate(QDate(2024, 6, 30));
    const QString sql = HistorySql(0, QDateTime(QDate(2024, 6, 1), QTime(0, 0)),
                                   QDateTime(QDate(2024, 6, 30), QTime(23, 59, 59)), 0, QString(), QString());
    int rows = 0;
    const double raw = MedianMs(5, [&] { rows = RawRows(sql); });
    const double paged = MedianMs(5, [&] { page->Query(); });
    std::fprintf(stderr, "  history month: %d rows\n", rows);
    Line("history_month_raw_sqlite", raw, "ms");
    Line("history_month_page", paged, "ms");
    std::printf("BENCH history_month_ratio %.2f x limit 1.3\n", paged / raw);
    SetMessageSink(nullptr);
    return 0;
}
