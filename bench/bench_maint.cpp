// Backup and compaction of a shop's data file: 100,000 goods and 1,000,000 stock movements.
#include "BenchSupport.h"
#include "data/DataFileCopy.h"
#include "maint/UntCompactDatabase.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace {

// Movements spread over the three tables, with their creation moments over two years.
void GenerateMovements(int count) {
    sqlite3* db = gDbAccess->Connection->Handle();
    RawExec("BEGIN");
    const char* tables[] = {"insert into StorIn(GUID,SL,CreateDate) values (?,?,?)",
                            "insert into StorOut(GUID,SL,CreateDate) values (?,?,?)",
                            "insert into StorOk(GUID,SL,CreateDate) values (?,?,?)"};
    sqlite3_stmt* st[3];
    for (int t = 0; t < 3; ++t)
        sqlite3_prepare_v2(db, tables[t], -1, &st[t], nullptr);
    for (int i = 0; i < count; ++i) {
        sqlite3_stmt* s = st[i % 10 < 6 ? 0 : i % 10 < 9 ? 1 : 2];
        const QByteArray guid = BenchGuid(i % 100000).toUtf8();
        sqlite3_bind_text(s, 1, guid.constData(), guid.size(), SQLITE_TRANSIENT);
        sqlite3_bind_int(s, 2, 1 + i % 20);
        sqlite3_bind_double(s, 3, 45000.0 + (i % 730) + (i % 86400) / 86400.0);
        if (sqlite3_step(s) != SQLITE_DONE) {
            std::fprintf(stderr, "insert failed: %s\n", sqlite3_errmsg(db));
            std::exit(1);
        }
        sqlite3_reset(s);
    }
    for (sqlite3_stmt* s : st)
        sqlite3_finalize(s);
    RawExec("COMMIT");
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    TBenchDataFile file;
    GenerateGoods(100000, 5);
    GenerateMovements(1000000);
    gDbAccess->Connection->Checkpoint();
    const QString data = TDbAccess::DataFilePath();
    std::printf("BENCH datafile_size %.1f MB\n", QFileInfo(data).size() / 1e6);

    const QString dest = file.Path() + QStringLiteral("/backup.dat");
    const double backup = MedianMs(3, [&] { BackupData(dest); });
    std::printf("BENCH backup %.1f ms limit 5000\n", backup);
    // Raw SQLite: the online backup alone, without the check and reopen.
    const double raw = MedianMs(3, [&] {
        QFile::remove(dest);
        sqlite3* out = nullptr;
        sqlite3_open(QFile::encodeName(dest).constData(), &out);
        sqlite3_backup* b = sqlite3_backup_init(out, "main", gDbAccess->Connection->Handle(), "main");
        sqlite3_backup_step(b, -1);
        sqlite3_backup_finish(b);
        sqlite3_close(out);
    });
    std::printf("BENCH backup_raw_sqlite %.1f ms\n", raw);

    gDbAccess->Connection->Close();
    const double compact = MedianMs(3, [&] {
        if (!CompactDatabase(data, DatabasePassword())) {
            std::fprintf(stderr, "compaction failed\n");
            std::exit(1);
        }
    });
    std::printf("BENCH compact %.1f ms limit 5000\n", compact);
    const QString rawOut = file.Path() + QStringLiteral("/raw.dat");
    const double rawVacuum = MedianMs(3, [&] {
        QFile::remove(rawOut);
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(data).constData(), &db);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "VACUUM INTO ?", -1, &st, nullptr);
        const QByteArray p = QFile::encodeName(rawOut);
        sqlite3_bind_text(st, 1, p.constData(), p.size(), SQLITE_TRANSIENT);
        sqlite3_step(st);
        sqlite3_finalize(st);
        sqlite3_close(db);
    });
    std::printf("BENCH compact_raw_vacuum_into %.1f ms\n", rawVacuum);
    return 0;
}
