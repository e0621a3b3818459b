#pragma once
// What every benchmark needs: a fresh data file in a temporary folder with gDbAccess connected, a way to run
// SQL straight on the connection, the same statement stepped through raw SQLite for comparison, and a median.
#include "common/UntPublic.h"
#include "data/JetSql.h"
#include "data/MD.h"
#include "data/Schema.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sqlite3.h>
#include <vector>

class TBenchDataFile {
public:
    TBenchDataFile() {
        SetAppDir(m_dir.path());
        CreateDataFile(TDbAccess::DataFilePath());
        gDbAccess = new TDbAccess;
        gDbAccess->Connect();
        if (!gDbAccess->Connection->Connected()) {
            std::fprintf(stderr, "cannot open the benchmark's data file\n");
            std::exit(1);
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
