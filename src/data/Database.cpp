#include "data/Engine.h"

#include "common/UException.h"
#include "data/EngineInternal.h"
#include "data/JetFunctions.h"
#include "data/JetSql.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

using namespace engine_detail;

namespace {

// "BKDP" in the header of every data file of ours.
constexpr int kApplicationId = 0x424B4450;
constexpr int kSchemaVersion = 1;

QString PasswordCheck(const QString& password) {
    return QString::fromLatin1(
        QCryptographicHash::hash((QStringLiteral("bookkeep-data:") + password).toUtf8(),
                                 QCryptographicHash::Sha256)
            .toHex());
}

bool OnlyBlanks(const char* tail) {
    for (; tail && *tail; ++tail)
        if (!std::isspace(static_cast<unsigned char>(*tail)) && *tail != ';') return false;
    return true;
}

} // namespace

TDatabase::~TDatabase() {
    Close();
}

[[noreturn]] void TDatabase::Fail() const {
    throw EEngineError(m_db ? Utf8(sqlite3_errmsg(m_db)) : QStringLiteral("The connection is closed."));
}

void TDatabase::Open(const QString& path, const QString& password, bool checkOnly) {
    Close();
    if (!QFileInfo(path).isFile()) throw EEngineError(QStringLiteral("Could not find file '%1'.").arg(path));
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    auto fail = [&](const QString& text) {
        sqlite3_close_v2(db);
        throw EEngineError(text);
    };
    if (rc != SQLITE_OK)
        fail(db ? Utf8(sqlite3_errmsg(db)) : QStringLiteral("Could not open '%1'.").arg(path));
    sqlite3_busy_timeout(db, 2000);
    sqlite3_extended_result_codes(db, 0);

    auto single = [&](const char* sql, QString& out) -> bool {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) return false;
        StmtGuard g{stmt};
        const int step = sqlite3_step(stmt);
        if (step == SQLITE_ROW) out = Utf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        return step == SQLITE_ROW || step == SQLITE_DONE;
    };
    QString appId;
    if (!single("PRAGMA application_id", appId)) fail(Utf8(sqlite3_errmsg(db)));
    if (appId.toInt() != kApplicationId) fail(QStringLiteral("Unrecognized database format '%1'.").arg(path));
    QString check;
    if (!single("SELECT value FROM BkMeta WHERE key='password'", check) || check != PasswordCheck(password))
        fail(QStringLiteral("Not a valid password."));
    // Files of older formats would be upgraded here step by step; a newer format is not ours to touch.
    QString version;
    if (!single("SELECT value FROM BkMeta WHERE key='schema_version'", version) || version.toInt() < 1)
        fail(QStringLiteral("Unrecognized database format '%1'.").arg(path));
    if (version.toInt() > kSchemaVersion)
        fail(QStringLiteral("The data file '%1' was made by a newer version of the program (format %2).")
                 .arg(path, version));
    try {
        RegisterJetFunctions(db);
    } catch (const EEngineError& e) {
        fail(e.Message());
    }
    // A commit writes its pages once to the log and syncs it once; with the default rollback journal a note
    // saved per keystroke costs several syncs. Synchronous stays FULL, so a committed booking survives a
    // crash.
    QString mode;
    if (!checkOnly && !single("PRAGMA journal_mode=WAL", mode)) fail(Utf8(sqlite3_errmsg(db)));
    m_db = db;
    m_path = path;
}

void TDatabase::Checkpoint() {
    if (m_db &&
        sqlite3_wal_checkpoint_v2(m_db, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr) != SQLITE_OK)
        Fail();
}

void TDatabase::RemoveSideFiles(const QString& path) {
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
    QFile::remove(path + QStringLiteral("-journal"));
}

void TDatabase::Close() {
    for (TResultSet* rs : m_resultSets)
        rs->Close();
    if (m_db) {
        if (!sqlite3_get_autocommit(m_db)) sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void TDatabase::Attach(TResultSet* rs) {
    m_resultSets.push_back(rs);
}
void TDatabase::Detach(TResultSet* rs) {
    m_resultSets.erase(std::remove(m_resultSets.begin(), m_resultSets.end(), rs), m_resultSets.end());
}

sqlite3_stmt* TDatabase::Prepare(const QString& jetSql, bool translate) {
    if (!m_db) Fail();
    const QByteArray sql = (translate ? TranslateJetSql(jetSql) : jetSql).toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.constData(), sql.size(), &stmt, &tail) != SQLITE_OK) Fail();
    if (!OnlyBlanks(tail)) {
        sqlite3_finalize(stmt);
        throw EEngineError(QStringLiteral("Characters found after end of SQL statement."));
    }
    if (!stmt)
        throw EEngineError(QStringLiteral(
            "Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', 'SELECT', or 'UPDATE'."));
    return stmt;
}

void TDatabase::Execute(const QString& jetSql, const QVariantList& params) {
    StmtGuard g{Prepare(jetSql)};
    BindParams(g.stmt, params);
    int rc;
    while ((rc = sqlite3_step(g.stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) Fail();
}

void TDatabase::BeginTrans() {
    if (!m_db) Fail();
    if (sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) Fail();
}

void TDatabase::CommitTrans() {
    if (!m_db || sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) Fail();
}

void TDatabase::RollbackTrans() {
    if (m_db && !sqlite3_get_autocommit(m_db)) sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

bool TDatabase::InTransaction() const {
    return m_db && !sqlite3_get_autocommit(m_db);
}

int TDatabase::RowsAffected() const {
    return m_db ? sqlite3_changes(m_db) : 0;
}

void TDatabase::CompactInto(const QString& destPath) {
    StmtGuard g{Prepare(QStringLiteral("VACUUM INTO ?"), false)};
    const QByteArray p = QFile::encodeName(destPath);
    sqlite3_bind_text(g.stmt, 1, p.constData(), p.size(), SQLITE_TRANSIENT);
    if (sqlite3_step(g.stmt) != SQLITE_DONE) Fail();
}

void TDatabase::CreateFile(const QString& path, const QString& password, const QString& schemaSql) {
    if (QFileInfo::exists(path)) throw EEngineError(QStringLiteral("File already exists: '%1'.").arg(path));
    sqlite3* db = nullptr;
    const QByteArray name = QFile::encodeName(path);
    if (sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        const QString err =
            db ? Utf8(sqlite3_errmsg(db)) : QStringLiteral("Could not create '%1'.").arg(path);
        sqlite3_close_v2(db);
        throw EEngineError(err);
    }
    QString error;
    try {
        RegisterJetFunctions(db);
        const QString all = QStringLiteral("PRAGMA application_id=%1;BEGIN;").arg(kApplicationId) +
                            schemaSql +
                            QStringLiteral(";CREATE TABLE BkMeta(key TEXT PRIMARY KEY, value TEXT);"
                                           "INSERT INTO BkMeta VALUES('password','%1');"
                                           "INSERT INTO BkMeta VALUES('schema_version','%2');COMMIT;")
                                .arg(PasswordCheck(password))
                                .arg(kSchemaVersion);
        char* msg = nullptr;
        if (sqlite3_exec(db, all.toUtf8().constData(), nullptr, nullptr, &msg) != SQLITE_OK) {
            error = Utf8(msg);
            sqlite3_free(msg);
        }
    } catch (const EEngineError& e) {
        error = e.Message();
    }
    sqlite3_close_v2(db);
    if (!error.isEmpty()) {
        QFile::remove(path);
        throw EEngineError(error);
    }
}
