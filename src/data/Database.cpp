#include "data/Engine.h"

#include "common/UException.h"
#include "data/BatchText.h"
#include "data/EngineInternal.h"
#include "data/JetFunctions.h"
#include "data/JetSql.h"
#include "data/Schema.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

using namespace engine_detail;

namespace {

// "BKDP" in the header of every data file of ours.
constexpr int kApplicationId = 0x424B4450;
constexpr int kSchemaVersion = kDataFileFormat;

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

const char* const kMovedText = "数据文件已被其他程序移动、删除或替换，请重新启动程序。";
const char* const kReadOnlyText = "数据文件或其所在文件夹是只读的。";
const char* const kDamagedText = "数据文件已损坏，请用备份恢复。";
const char* const kForeignText = "这不是本程序的数据文件。";

// The user's explanation of the engine's common failures, with the engine's own words kept in brackets.
QString Explained(int code, const QString& engineText) {
    const char* why = nullptr;
    switch (code & 0xff) {
    case SQLITE_FULL:
        why = "磁盘空间不足。";
        break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        why = "数据文件正被其他程序使用，请稍后再试。";
        break;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        why = kReadOnlyText;
        break;
    case SQLITE_NOTADB:
        why = kForeignText;
        break;
    case SQLITE_CORRUPT:
        why = kDamagedText;
        break;
    case SQLITE_CANTOPEN:
        why = "无法打开数据文件。";
        break;
    case SQLITE_IOERR:
        why = "读写数据文件时出错。";
        break;
    default:
        return engineText;
    }
    return QString::fromUtf8(why) + QStringLiteral("（") + engineText + QStringLiteral("）");
}

bool Writable(const QString& path) {
    return access(QFile::encodeName(path).constData(), W_OK) == 0;
}

} // namespace

TDatabase::~TDatabase() {
    Close();
}

[[noreturn]] void TDatabase::Fail() const {
    if (m_lost) throw EEngineError(QString::fromUtf8(kMovedText));
    if (!m_db) throw EEngineError(QStringLiteral("The connection is closed."));
    throw EEngineError(Explained(sqlite3_errcode(m_db), Utf8(sqlite3_errmsg(m_db))));
}

TDatabase::TFileStamp TDatabase::StampOf(const QString& path) {
    TFileStamp s;
    struct stat st {};
    if (stat(QFile::encodeName(path).constData(), &st) != 0) return s;
    s.valid = true;
    s.dev = st.st_dev;
    s.ino = st.st_ino;
    s.size = st.st_size;
    s.mtimeNs = (long long)st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
    s.ctimeNs = (long long)st.st_ctim.tv_sec * 1000000000LL + st.st_ctim.tv_nsec;
    return s;
}

void TDatabase::CheckFileUnchanged() {
    if (!m_db) Fail();
    if (!m_lost && !(StampOf(m_path) == m_stamp)) LoseFile();
    if (m_lost) Fail();
}

void TDatabase::AcceptFileAsIs() {
    if (m_db && !m_lost) m_stamp = StampOf(m_path);
}

// The path no longer names the file as we left it. Whatever the engine still holds in its log belongs to the
// file it opened: when that file was moved or deleted the log goes into it (it is ours alone); when another
// file was copied into it, the log would damage the copy, so it is neither applied nor left where the next
// start would apply it.
void TDatabase::LoseFile() {
    m_lost = true;
    const TFileStamp now = StampOf(m_path);
    const bool sameFile = now.valid && now.dev == m_stamp.dev && now.ino == m_stamp.ino;
    if (!sameFile &&
        sqlite3_wal_checkpoint_v2(m_db, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr) == SQLITE_OK)
        return;
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    const QString wal = m_path + QStringLiteral("-wal");
    if (QFileInfo::exists(wal)) {
        QFile::remove(wal + QStringLiteral(".old"));
        QFile::rename(wal, wal + QStringLiteral(".old"));
    }
    QFile::remove(m_path + QStringLiteral("-shm"));
}

int TDatabase::CommitHook(void* self) {
    auto* db = static_cast<TDatabase*>(self);
    if (!db->m_lost && !(StampOf(db->m_path) == db->m_stamp)) db->LoseFile();
    return db->m_lost ? 1 : 0; // non-zero turns the commit into a rollback
}

// Called after each commit: the engine's own checkpoint (as its default would run it), then the file as
// the engine left it.
int TDatabase::WalHook(void* self, sqlite3* handle, const char* name, int frames) {
    auto* db = static_cast<TDatabase*>(self);
    if (frames >= 1000) sqlite3_wal_checkpoint_v2(handle, name, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    db->m_stamp = StampOf(db->m_path);
    return SQLITE_OK;
}

void TDatabase::Open(const QString& path, const QString& password, bool checkOnly) {
    Close();
    if (!QFileInfo(path).isFile()) throw EEngineError(QStringLiteral("Could not find file '%1'.").arg(path));
    if (!checkOnly) {
        // Refused before the engine touches anything, so that nothing is left behind that blocks a later
        // start. A read-only index of the engine's log left by an earlier run is only an index: it is made
        // anew (the log itself is never removed).
        const QString folder = QFileInfo(path).absolutePath();
        const QString wal = path + QStringLiteral("-wal");
        const QString shm = path + QStringLiteral("-shm");
        const auto readOnly = [] {
            throw EEngineError(QString::fromUtf8(kReadOnlyText) +
                               QStringLiteral("（attempt to write a readonly database）"));
        };
        if (!Writable(path) || !Writable(folder) || (QFileInfo::exists(wal) && !Writable(wal))) readOnly();
        if (QFileInfo::exists(shm) && !Writable(shm) && !QFile::remove(shm)) readOnly();
    }
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    auto fail = [&](const QString& text) {
        sqlite3_close_v2(db);
        throw EEngineError(text);
    };
    if (rc != SQLITE_OK)
        fail(db ? Explained(rc, Utf8(sqlite3_errmsg(db))) : QStringLiteral("Could not open '%1'.").arg(path));
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
    if (!single("PRAGMA application_id", appId))
        fail(Explained(sqlite3_errcode(db), Utf8(sqlite3_errmsg(db))));
    if (appId.toInt() != kApplicationId)
        fail(Explained(SQLITE_NOTADB, QStringLiteral("Unrecognized database format '%1'.").arg(path)));
    // Damage is found before anything is written: a file cut short or with broken pages is refused.
    QString verdict;
    if (!single("PRAGMA quick_check(1)", verdict) || verdict != QLatin1String("ok"))
        fail(QString::fromUtf8(kDamagedText) + QStringLiteral("（") +
             (verdict.isEmpty() ? Utf8(sqlite3_errmsg(db)) : verdict) + QStringLiteral("）"));
    QString check;
    if (!single("SELECT value FROM BkMeta WHERE key='password'", check) || check != PasswordCheck(password))
        fail(Explained(SQLITE_NOTADB, QStringLiteral("Not a valid password.")));
    // Files of older formats would be upgraded here step by step; a newer format is not ours to touch.
    QString version;
    if (!single("SELECT value FROM BkMeta WHERE key='schema_version'", version) || version.toInt() < 1)
        fail(QStringLiteral("Unrecognized database format '%1'.").arg(path));
    if (version.toInt() > kSchemaVersion)
        fail(QStringLiteral("The data file '%1' was made by a newer version of the program (format %2).")
                 .arg(path, version));
    try {
        RegisterJetFunctions(db);
        if (!checkOnly) UpgradeDataFile(db, version.toInt());
    } catch (const EEngineError& e) {
        fail(e.Message());
    }
    // A commit writes its pages once to the log and syncs it once; with the default rollback journal a note
    // saved per keystroke costs several syncs. Synchronous stays FULL, so a committed booking survives a
    // crash.
    QString mode;
    if (!checkOnly && !single("PRAGMA journal_mode=WAL", mode))
        fail(Explained(sqlite3_errcode(db), Utf8(sqlite3_errmsg(db))));
    m_db = db;
    m_path = path;
    m_lost = false;
    m_stamp = StampOf(path);
    if (!checkOnly) {
        sqlite3_commit_hook(db, &TDatabase::CommitHook, this);
        sqlite3_wal_hook(db, &TDatabase::WalHook, this);
    }
}

void TDatabase::Checkpoint() {
    if (!m_db) return;
    CheckFileUnchanged();
    if (sqlite3_wal_checkpoint_v2(m_db, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr) != SQLITE_OK)
        Fail();
    m_stamp = StampOf(m_path);
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
        // Closing moves the log into the file: only into the file as we left it.
        if (!m_lost && !(StampOf(m_path) == m_stamp)) LoseFile();
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
    QString text = translate ? TranslateJetSql(jetSql, m_db) : jetSql;
    // A NUL would end the text for the engine halfway; it is taken out.
    if (text.contains(QChar(0))) text.remove(QChar(0));
    if (IsTransactionStatement(text))
        throw EEngineError(QStringLiteral(
            "批处理中不能开始或结束事务（BEGIN、COMMIT、END、ROLLBACK、SAVEPOINT、RELEASE）。"));
    const QByteArray sql = text.toUtf8();
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
    CheckFileUnchanged();
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
    // The copy would be renamed over whatever now lies at the path.
    CheckFileUnchanged();
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
