#include "data/Schema.h"

#include "data/Engine.h"
#include "data/MD.h"

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
