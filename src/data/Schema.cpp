#include "data/Schema.h"

#include "common/UException.h"
#include "data/Engine.h"
#include "data/MD.h"

#include <sqlite3.h>

namespace {

// Date-time columns hold day numbers; a date text written into one becomes its day number (see the triggers).
QString DateTrigger(const char* table, const char* column) {
    return QStringLiteral(
               "CREATE TRIGGER %1_%2_ins AFTER INSERT ON %1 WHEN typeof(NEW.%2)='text' BEGIN "
               "UPDATE %1 SET %2=jet_cvdate(NEW.%2) WHERE rowid=NEW.rowid; END;"
               "CREATE TRIGGER %1_%2_upd AFTER UPDATE OF %2 ON %1 WHEN typeof(NEW.%2)='text' BEGIN "
               "UPDATE %1 SET %2=jet_cvdate(NEW.%2) WHERE rowid=NEW.rowid; END;")
        .arg(QLatin1String(table), QLatin1String(column));
}

} // namespace

const QString& SchemaSql() {
    static const QString sql =
        QStringLiteral(
            "CREATE TABLE Customer ("
            " GUID VARCHAR(36), TypeID INTEGER DEFAULT 0, 商品编号 TEXT, 商品名称 TEXT,"
            " 库存 NUMBER DEFAULT 0, 备注 TEXT);"
            "CREATE INDEX Customer_GUID ON Customer(GUID);"
            "CREATE INDEX Customer_TypeID ON Customer(TypeID);"
            "CREATE TABLE CustomerType (SelfIndex INTEGER, ParentIndex INTEGER, TypeName TEXT);"
            "CREATE INDEX CustomerType_SelfIndex ON CustomerType(SelfIndex);"
            "CREATE TABLE NoteType (SelfIndex INTEGER, ParentIndex INTEGER, TypeName TEXT);"
            "CREATE TABLE AppTitle (TitleName VARCHAR(10), TitleType INTEGER, TitleValues TEXT,"
            " Titlebt BOOLEAN DEFAULT 0, Titlewy BOOLEAN DEFAULT 0);"
            "CREATE TABLE StorIn (ID INTEGER PRIMARY KEY AUTOINCREMENT, GUID VARCHAR(36), SL NUMBER,"
            " CreateDate DATETIME DEFAULT (jet_now()));"
            "CREATE TABLE StorOut (ID INTEGER PRIMARY KEY AUTOINCREMENT, GUID VARCHAR(36), SL NUMBER,"
            " CreateDate DATETIME DEFAULT (jet_now()));"
            "CREATE TABLE StorOk (ID INTEGER PRIMARY KEY AUTOINCREMENT, GUID VARCHAR(36), SL NUMBER, Oldsl "
            "NUMBER,"
            " CreateDate DATETIME DEFAULT (jet_now()));"
            "CREATE INDEX StorIn_Date ON StorIn(CreateDate);"
            "CREATE INDEX StorOut_Date ON StorOut(CreateDate);"
            "CREATE INDEX StorOk_Date ON StorOk(CreateDate);"
            "CREATE INDEX StorIn_GUID ON StorIn(GUID);"
            "CREATE INDEX StorOut_GUID ON StorOut(GUID);"
            "CREATE INDEX StorOk_GUID ON StorOk(GUID);"
            "CREATE TABLE NoteBook (TypeID INTEGER, ReMark TEXT);"
            "CREATE TABLE Alam (ID INTEGER PRIMARY KEY AUTOINCREMENT, iHour INTEGER, iMinute INTEGER,"
            " iMonWeek INTEGER, ReDay INTEGER, AlamDate DATETIME, ReMark TEXT, bLook BOOLEAN DEFAULT 0);"
            "CREATE TABLE AlamContext (ID INTEGER PRIMARY KEY AUTOINCREMENT, ReMark TEXT);"
            "CREATE TABLE SysSet (bPass BOOLEAN DEFAULT 0, PassWord TEXT DEFAULT '');"
            "CREATE TABLE ConnFile (ID INTEGER PRIMARY KEY AUTOINCREMENT, FileName TEXT, ReMark TEXT);") +
        DateTrigger("StorIn", "CreateDate") + DateTrigger("StorOut", "CreateDate") +
        DateTrigger("StorOk", "CreateDate") + DateTrigger("Alam", "AlamDate") +
        QStringLiteral("INSERT INTO CustomerType (SelfIndex, ParentIndex, TypeName) VALUES (0, 0, '未分组');"
                       "INSERT INTO SysSet (bPass, PassWord) VALUES (0, '');");
    return sql;
}

void CreateDataFile(const QString& path) {
    TDatabase::CreateFile(path, DatabasePassword(), SchemaSql());
}

void UpgradeDataFile(sqlite3* db, int fromVersion) {
    // Each step brings a file of one format to the next; all of them and the new number in one transaction.
    static const char* const steps[] = {
        // 1 -> 2: the movements are joined to their goods by GUID.
        "CREATE INDEX IF NOT EXISTS StorIn_GUID ON StorIn(GUID);"
        "CREATE INDEX IF NOT EXISTS StorOut_GUID ON StorOut(GUID);"
        "CREATE INDEX IF NOT EXISTS StorOk_GUID ON StorOk(GUID);",
    };
    constexpr int first = 1;
    constexpr int count = int(sizeof(steps) / sizeof(steps[0]));
    if (fromVersion >= first + count) return;
    QByteArray sql = "BEGIN;";
    for (int v = fromVersion; v < first + count; ++v)
        if (v >= first) sql += steps[v - first];
    sql += QStringLiteral("UPDATE BkMeta SET value='%1' WHERE key='schema_version';COMMIT;")
               .arg(first + count)
               .toLatin1();
    char* msg = nullptr;
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &msg) != SQLITE_OK) {
        const QString error = QString::fromUtf8(msg ? msg : "");
        sqlite3_free(msg);
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw EEngineError(error);
    }
}
