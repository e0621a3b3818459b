#pragma once
// What every benchmark needs: a fresh data file in a temporary folder with gDbAccess connected, a way to run
// SQL straight on the connection, the same statement stepped through raw SQLite for comparison, and a median.
#include "common/UntPublic.h"
#include "data/JetFunctions.h"
#include "data/JetSql.h"
#include "data/MD.h"
#include "data/Schema.h"

#include <QByteArray>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sqlite3.h>
#include <vector>

// The shared benchmark data file: its goods, user fields and stock-in movements (over the year 2024); a few
// stock-out and stocktake movements as well, so that every history page has rows.
constexpr int kBenchGoods = 100000;
constexpr int kBenchFields = 10;
constexpr int kBenchMovements = 1000000;
constexpr int kBenchOutMovements = 100000;
constexpr int kBenchOkMovements = 10000;

inline void GenerateGoods(int goods, int fields);
inline void GenerateMovements(int movements, int outMovements, int okMovements, int goods);

// Empty: a new data file. Shared: a private copy of the shared benchmark file named by BOOKKEEP_BENCH_FILE
// (scripts/bench.sh makes it), or, when that is not set, the same content generated here.
enum class TBenchData { Empty, Shared };

class TBenchDataFile {
public:
    explicit TBenchDataFile(TBenchData data = TBenchData::Empty) {
        SetAppDir(m_dir.path());
        const QString shared = qEnvironmentVariable("BOOKKEEP_BENCH_FILE");
        if (data == TBenchData::Shared && !shared.isEmpty()) {
            if (!QFile::copy(shared, TDbAccess::DataFilePath())) {
                std::fprintf(stderr, "cannot copy the benchmark file %s\n", qUtf8Printable(shared));
                std::exit(1);
            }
            // A copy of a read-only file is read-only too.
            QFile::setPermissions(TDbAccess::DataFilePath(), QFile::ReadOwner | QFile::WriteOwner);
        } else {
            CreateDataFile(TDbAccess::DataFilePath());
        }
        gDbAccess = new TDbAccess;
        gDbAccess->Connect();
        if (!gDbAccess->Connection->Connected()) {
            std::fprintf(stderr, "cannot open the benchmark's data file\n");
            std::exit(1);
        }
        if (data == TBenchData::Shared && shared.isEmpty()) {
            std::fprintf(stderr, "BOOKKEEP_BENCH_FILE is not set: generating the benchmark data here\n");
            GenerateGoods(kBenchGoods, kBenchFields);
            GenerateMovements(kBenchMovements, kBenchOutMovements, kBenchOkMovements, kBenchGoods);
        }
    }
    ~TBenchDataFile() {
        delete gDbAccess;
        gDbAccess = nullptr;
    }
    TBenchDataFile(const TBenchDataFile&) = delete;
    TBenchDataFile& operator=(const TBenchDataFile&) = delete;
    QString Path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

// Runs SQLite's own SQL on the open connection; a failure ends the benchmark.
inline void RawExec(const char* sql) {
    char* err = nullptr;
    if (sqlite3_exec(gDbAccess->Connection->Handle(), sql, nullptr, nullptr, &err) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", err);
        std::exit(1);
    }
}

// Steps a prepared insert and makes it ready for the next row; a failure ends the benchmark.
inline void StepInsert(sqlite3_stmt* st) {
    if (sqlite3_step(st) != SQLITE_DONE) {
        std::fprintf(stderr, "insert failed: %s\n", sqlite3_errmsg(sqlite3_db_handle(st)));
        std::exit(1);
    }
    sqlite3_reset(st);
}

// The translated statement stepped through the raw API with every value read; returns the row count.
inline int RawRows(const QString& jetSql) {
    sqlite3* db = gDbAccess->Connection->Handle();
    sqlite3_stmt* st = nullptr;
    const QByteArray sql = TranslateJetSql(jetSql).toUtf8();
    if (sqlite3_prepare_v2(db, sql.constData(), sql.size(), &st, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "prepare failed: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
    const int n = sqlite3_column_count(st);
    int rows = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 0; c < n; ++c) {
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_INTEGER:
                sqlite3_column_int64(st, c);
                break;
            case SQLITE_FLOAT:
                sqlite3_column_double(st, c);
                break;
            case SQLITE_TEXT:
                sqlite3_column_text(st, c);
                sqlite3_column_bytes(st, c);
                break;
            default:
                break;
            }
        }
        ++rows;
    }
    sqlite3_finalize(st);
    return rows;
}

// The median wall time of runs calls of f, in milliseconds.
inline double MedianMs(int runs, const std::function<void()>& f) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// One figure for the benchmark table (see bench/README.md): "BENCH <name> <value> <unit>", followed by
// " limit <goal>" when the figure has a goal (the value must not exceed it). Names are lower case with "_".
inline void Bench(const char* name, double value, const char* unit, double limit = -1) {
    if (limit >= 0)
        std::printf("BENCH %s %.3f %s limit %g\n", name, value, unit, limit);
    else
        std::printf("BENCH %s %.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

// The same work done through raw SQLite in the same run; the table shows the figure's ratio to it.
inline void BenchRaw(const char* name, double value, const char* unit) {
    std::printf("BENCH %s_raw %.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

// Widgets are measured off screen unless a display is asked for.
inline void DefaultToOffscreen() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

// The GUID of generated goods number i.
inline QString BenchGuid(int i) {
    return QStringLiteral("%1-0000-4000-8000-000000000000").arg(i, 8, 16, QLatin1Char('0')).toUpper();
}

// User field f of generated goods: the first two are numeric.
inline QString BenchFieldName(int f) {
    return f < 2 ? QStringLiteral("数值%1").arg(f) : QStringLiteral("字段%1").arg(f);
}

// A catalogue of `goods` goods in 20 groups (and the root), with `fields` user fields defined as a shop owner
// would; every 997th name holds "特价" for keyword searches.
inline void GenerateGoods(int goods, int fields) {
    QStringList batch;
    for (int f = 0; f < fields; ++f) {
        batch << QStringLiteral(
                     "insert into AppTitle (TitleName,TitleType,TitleValues,Titlebt,Titlewy) values "
                     "('%1',%2,'',0,0)")
                     .arg(BenchFieldName(f))
                     .arg(f < 2 ? 4 : 0);
        batch << QStringLiteral("alter table Customer add %1 varchar(100)").arg(BenchFieldName(f));
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
    for (int f = 0; f < fields; ++f) {
        cols += QLatin1Char(',') + BenchFieldName(f);
        params += QStringLiteral(",?");
    }
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(
        db, QStringLiteral("insert into Customer(%1) values (%2)").arg(cols, params).toUtf8().constData(), -1,
        &st, nullptr);
    for (int i = 0; i < goods; ++i) {
        auto bind = [&](int col, const QString& text) {
            const QByteArray b = text.toUtf8();
            sqlite3_bind_text(st, col, b.constData(), b.size(), SQLITE_TRANSIENT);
        };
        bind(1, BenchGuid(i));
        sqlite3_bind_int(st, 2, i % 21);
        bind(3, QStringLiteral("SP%1").arg(i, 6, 10, QLatin1Char('0')));
        bind(4, QStringLiteral("商品%1号 %2")
                    .arg(i)
                    .arg(i % 997 == 0 ? QStringLiteral("特价") : QStringLiteral("常规")));
        sqlite3_bind_int(st, 5, i % 500);
        bind(6, QStringLiteral("备注%1").arg(i % 50));
        if (fields > 0) bind(7, QString::number((i % 1000) / 100.0, 'f', 2));
        if (fields > 1) bind(8, QString::number(i % 37));
        for (int f = 2; f < fields; ++f)
            bind(7 + f, QStringLiteral("值%1-%2").arg(f).arg(i % 113));
        StepInsert(st);
    }
    sqlite3_finalize(st);
    RawExec("COMMIT");
}

// Movements of generated goods spread evenly over 2024, each table in one transaction: `movements` stock-in
// rows (about 85,000 in a month), and stock-out and stocktake rows; goods chosen by stepping a prime through
// the catalogue.
inline void GenerateMovements(int movements, int outMovements, int okMovements, int goods) {
    sqlite3* db = gDbAccess->Connection->Handle();
    const double start = DateTimeToDays(QDateTime(QDate(2024, 1, 1), QTime(0, 0)));
    const auto fill = [&](const char* sql, int count, int prime, bool withOld) {
        RawExec("BEGIN");
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
        for (int i = 0; i < count; ++i) {
            const QByteArray guid = BenchGuid(int((int64_t(i) * prime) % goods)).toUtf8();
            sqlite3_bind_text(st, 1, guid.constData(), guid.size(), SQLITE_TRANSIENT);
            sqlite3_bind_int(st, 2, 1 + i % 9);
            sqlite3_bind_double(st, 3, start + 366.0 * i / count);
            if (withOld) sqlite3_bind_int(st, 4, i % 500);
            StepInsert(st);
        }
        sqlite3_finalize(st);
        RawExec("COMMIT");
    };
    fill("insert into StorIn(GUID,SL,CreateDate) values (?,?,?)", movements, 7919, false);
    fill("insert into StorOut(GUID,SL,CreateDate) values (?,?,?)", outMovements, 104729, false);
    fill("insert into StorOk(GUID,SL,CreateDate,Oldsl) values (?,?,?,?)", okMovements, 15485863, true);
}
