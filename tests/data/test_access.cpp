// bookkeep_core
// The access layer: connecting, queries, batches all or nothing, file copies.
#include "common/UException.h"
#include "common/UntPublic.h"
#include "data/MD.h"
#include "data/Schema.h"
#include "support/TestFixture.h"

#include <QDir>
#include <QFile>
#include <sqlite3.h>

class AccessTest : public TDataFileTest {
protected:
    int Count(const char* table) {
        return QueryInt(QStringLiteral("select count(*) from %1").arg(QLatin1String(table)));
    }
    void Fill() {
        ExecSql(QStringLiteral("insert into Customer(GUID,TypeID,商品编号) values ('G1',0,'C1')@#@"
                               "insert into ConnFile(FileName) values ('f')@#@"
                               "insert into CustomerType(SelfIndex,ParentIndex,TypeName) values (1,0,'组')"));
    }
    QStringList LogFiles() {
        return QDir(Dir()).entryList({QStringLiteral("Log*.log")}, QDir::Files, QDir::Name);
    }
};

TEST_F(AccessTest, NewDataFileHoldsItsTwoRows) {
    EXPECT_EQ(Rows(QStringLiteral("select SelfIndex,ParentIndex from CustomerType")),
              QStringList{QStringLiteral("0|0")});
    EXPECT_EQ(Rows(QStringLiteral("select bPass,PassWord from SysSet")), QStringList{QStringLiteral("0|")});
    for (const char* t : {"Customer", "NoteType", "AppTitle", "StorIn", "StorOut", "StorOk", "NoteBook",
                          "Alam", "AlamContext", "ConnFile"})
        EXPECT_EQ(Count(t), 0) << t;
}

TEST_F(AccessTest, ClearingBatchIsAllOrNothing) {
    Fill();
    const QString clearing =
        QStringLiteral("delete from customer@#@delete from ConnFile@#@delete from CustomerType");
    // the same batch with a failing last statement leaves every table as it was
    EXPECT_THROW(ExecSql(clearing + QStringLiteral("@#@delete from NoSuchTable")), EDBException);
    EXPECT_EQ(Count("Customer"), 1);
    EXPECT_EQ(Count("ConnFile"), 1);
    EXPECT_EQ(Count("CustomerType"), 2);
    ExecSql(clearing);
    EXPECT_EQ(Count("Customer"), 0);
    EXPECT_EQ(Count("ConnFile"), 0);
    EXPECT_EQ(Count("CustomerType"), 0);
}

TEST_F(AccessTest, FailedBatchLeavesNoTraceInTheFile) {
    try {
        ExecSql(QStringLiteral(
            "insert into AlamContext(ReMark) values ('a')@#@alter table Customer add 新列 "
            "varchar(100)@#@insert into Nope values (1)@#@insert into AlamContext(ReMark) values "
            "('b')"));
        FAIL() << "no exception";
    } catch (const EDBException& e) {
        EXPECT_EQ(e.UserMsg, QStringLiteral("数据库操作失败！"));
        EXPECT_TRUE(e.SqlText.contains(QStringLiteral("@#@insert into Nope values (1)@#@")));
        EXPECT_TRUE(e.Message().contains(QStringLiteral("Nope")));
    }
    // look from a second connection: nothing was committed
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(DataFile()).constData(), &db, SQLITE_OPEN_READONLY, nullptr),
              SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "select count(*) from AlamContext", -1, &st, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(st, 0), 0);
    sqlite3_finalize(st);
    EXPECT_NE(sqlite3_prepare_v2(db, "select 新列 from Customer", -1, &st, nullptr), SQLITE_OK);
    sqlite3_finalize(st);
    sqlite3_close(db);
    EXPECT_FALSE(gDbAccess->Connection->InTransaction());
}

TEST_F(AccessTest, BlankPiecesAreSkipped) {
    ExecSql(QStringLiteral(" @#@\t\r\n@#@"));
    ExecSql(QStringLiteral(
        "@#@insert into AlamContext(ReMark) values ('a')@#@ \r\n @#@insert into AlamContext(ReMark) "
        "values ('b')@#@"));
    EXPECT_EQ(Rows(QStringLiteral("select ReMark from AlamContext order by ID")),
              (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
}

TEST_F(AccessTest, SplitTextKeepsEmptyPieces) {
    struct Case {
        QString text;
        QStringList pieces;
    };
    const Case cases[] = {
        {QStringLiteral("a"), {QStringLiteral("a")}},
        {QStringLiteral("a@#@b"), {QStringLiteral("a"), QStringLiteral("b")}},
        {QStringLiteral("a@#@@#@b"), {QStringLiteral("a"), QString(), QStringLiteral("b")}},
        {QStringLiteral("a@#@"), {QStringLiteral("a"), QString()}},
        {QString(), {QString()}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitText(c.text, QStringLiteral("@#@")), c.pieces) << c.text.toStdString();
}

TEST_F(AccessTest, GetIntReadsZeroForNoRowOrNull) {
    EXPECT_EQ(QueryInt(QStringLiteral("select count(*) from Alam ")), 0);
    EXPECT_EQ(QueryInt(QStringLiteral("select ID from Alam where ID=5")), 0);
    EXPECT_EQ(QueryInt(QStringLiteral("select sum(库存) from Customer ")), 0);
    EXPECT_EQ(QueryInt(QStringLiteral("select count(*) from CustomerType")), 1);
    try {
        QueryInt(QStringLiteral("select nosuch from Alam"));
        FAIL();
    } catch (const EDBException& e) {
        EXPECT_EQ(e.UserMsg, QStringLiteral("数据库查询错误，请检查！"));
        EXPECT_EQ(e.SqlText, QStringLiteral("select nosuch from Alam"));
    }
}

TEST_F(AccessTest, FailingQueryLeavesResultClosedAndNextOneWorks) {
    gDbAccess->OpenQuery(QStringLiteral("select * from SysSet"));
    EXPECT_THROW(gDbAccess->OpenQuery(QStringLiteral("select Selfindx from CustomerType")), EDBException);
    EXPECT_FALSE(gDbAccess->QueryData->Active());
    EXPECT_EQ(gDbAccess->QueryData->RecordCount(), 0);
    gDbAccess->OpenQuery(QStringLiteral("select SelfIndex from CustomerType"));
    EXPECT_EQ(gDbAccess->QueryData->RecordCount(), 1);
    // the second result set is independent of the first
    gDbAccess->OpenQuery2(QStringLiteral("select bPass from SysSet"));
    EXPECT_EQ(gDbAccess->QueryData->Fields(0).AsInteger(), 0);
    EXPECT_EQ(gDbAccess->QueryData2->FieldNames(), QStringList{QStringLiteral("bPass")});
}

TEST_F(AccessTest, BackupAndRestoreRoundTrip) {
    Fill();
    const QString backup = Dir() + QStringLiteral("copy.dat");
    BackupData(backup);
    ExecSql(QStringLiteral("delete from Customer"));
    RestoreData(backup);
    EXPECT_TRUE(gDbAccess->Connection->Connected());
    EXPECT_EQ(Count("Customer"), 1);
    // a backup replaces a file that is there
    ExecSql(QStringLiteral("delete from Customer"));
    BackupData(backup);
    RestoreData(backup);
    EXPECT_EQ(Count("Customer"), 0);
}

TEST_F(AccessTest, BackupToAnUnwritablePlaceFails) {
    try {
        BackupData(Dir() + QStringLiteral("no/such/folder/x.dat"));
        FAIL();
    } catch (const EDBException& e) {
        EXPECT_EQ(e.UserMsg, QStringLiteral("数据库备份失败！"));
        EXPECT_TRUE(e.SqlText.isEmpty());
    }
    EXPECT_TRUE(gDbAccess->Connection->Connected());
}

TEST_F(AccessTest, RestoreFromAFileThatIsNoDataFileFails) {
    struct Case {
        const char* name;
        QByteArray content;
    };
    const QString plain = Dir() + QStringLiteral("plain.txt");
    for (const QByteArray& content : {QByteArray("just some text"), QByteArray()}) {
        QFile f(plain);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        try {
            RestoreData(plain);
            FAIL();
        } catch (const EDBException& e) {
            EXPECT_EQ(e.UserMsg, QStringLiteral("数据库恢复失败！"));
        }
        EXPECT_FALSE(gDbAccess->Connection->Connected());
    }
    try {
        RestoreData(Dir() + QStringLiteral("missing.dat"));
        FAIL();
    } catch (const EDBException& e) {
        EXPECT_EQ(e.UserMsg, QStringLiteral("数据库恢复失败！"));
    }
    EXPECT_TRUE(LogFiles().isEmpty());
    // the refused file never replaced the data file: it still opens with everything in it
    TDatabase still;
    still.Open(DataFile(), DatabasePassword());
    TResultSet rs(&still);
    rs.Open(QStringLiteral("select TypeName from CustomerType"));
    EXPECT_EQ(rs.Fields(0).AsString(), QStringLiteral("未分组"));
}

TEST_F(AccessTest, BackupHoldsEverythingCommittedAndChecksLeaveTheSourceAlone) {
    Fill();
    const QString backup = Dir() + QStringLiteral("b.dat");
    BackupData(backup);
    const QByteArray before = [&] {
        QFile f(backup);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    // a plain byte copy, read on its own, holds the rows just committed
    QFile::copy(backup, Dir() + QStringLiteral("c.dat"));
    TDatabase copy;
    copy.Open(Dir() + QStringLiteral("c.dat"), DatabasePassword());
    TResultSet rs(&copy);
    rs.Open(QStringLiteral("select count(*) from Customer"));
    EXPECT_EQ(rs.Fields(0).AsInteger(), 1);
    copy.Close();
    // restoring only checks the chosen file: it stays byte for byte as it was, with nothing left beside it
    RestoreData(backup);
    QFile f(backup);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    EXPECT_FALSE(QFile::exists(backup + QStringLiteral("-wal")));
    EXPECT_EQ(Count("Customer"), 1);
}

TEST_F(AccessTest, FillsAQueryColumnPerField) {
    Fill();
    gDbAccess->OpenQuery(QStringLiteral("select * from Customer"));
    EXPECT_EQ(gDbAccess->QueryData->FieldNames().mid(0, 6),
              (QStringList{QStringLiteral("GUID"), QStringLiteral("TypeID"), QStringLiteral("商品编号"),
                           QStringLiteral("商品名称"), QStringLiteral("库存"), QStringLiteral("备注")}));
}

class ConnectTest : public TEmptyFolderTest {
protected:
    void Connect() {
        gDbAccess = new TDbAccess;
        gDbAccess->Connect();
    }
    void Write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

TEST_F(ConnectTest, RefusesWhatIsNotOurDataFile) {
    const QString path = Dir() + QStringLiteral("bookkeep.dat");
    // missing: never created by connecting
    Connect();
    EXPECT_FALSE(gDbAccess->Connection->Connected());
    EXPECT_FALSE(QFile::exists(path));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, TMessageKind::Error);
    EXPECT_TRUE(messages.shown[0].text.startsWith(QStringLiteral("数据库连接失败！\r\n详细信息：")));
    delete gDbAccess;
    gDbAccess = nullptr;

    // not a database
    Write(path, QByteArray(4096, 'x'));
    Connect();
    EXPECT_FALSE(gDbAccess->Connection->Connected());
    delete gDbAccess;
    gDbAccess = nullptr;
    QFile::remove(path);

    // an SQLite database, but not ours
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_exec(db, "create table t(x)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    Connect();
    EXPECT_FALSE(gDbAccess->Connection->Connected());
    delete gDbAccess;
    gDbAccess = nullptr;
    QFile::remove(path);

    // ours, with another password
    TDatabase::CreateFile(path, QStringLiteral("other"), SchemaSql());
    Connect();
    EXPECT_FALSE(gDbAccess->Connection->Connected());
    EXPECT_TRUE(messages.shown.back().text.contains(QStringLiteral("password")));
    delete gDbAccess;
    gDbAccess = nullptr;
    QFile::remove(path);

    // ours, but of a newer format than this program knows
    CreateDataFile(path);
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_exec(db, "update BkMeta set value='99' where key='schema_version'", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    Connect();
    EXPECT_FALSE(gDbAccess->Connection->Connected());
    EXPECT_TRUE(messages.shown.back().text.contains(QStringLiteral("newer version")));
    delete gDbAccess;
    gDbAccess = nullptr;
    QFile::remove(path);

    // ours
    CreateDataFile(path);
    EXPECT_THROW(CreateDataFile(path), EEngineError);
    Connect();
    EXPECT_TRUE(gDbAccess->Connection->Connected());
    EXPECT_EQ(messages.shown.size(), 5u);
    // a connection failure writes no log
    EXPECT_TRUE(QDir(Dir()).entryList({QStringLiteral("Log*.log")}).isEmpty());
}

// Text that would break a spliced statement reaches the file as typed when it is bound.
TEST_F(AccessTest, BoundValuesAreStoredAsTyped) {
    const QStringList texts = {QStringLiteral("O'Neil"), QStringLiteral("a@#@b"),
                               QStringLiteral("x'); drop table Customer; --"),
                               QStringLiteral("第一行\n第二行"), QStringLiteral("?")};
    for (int i = 0; i < texts.size(); ++i)
        ExecSql(QStringLiteral("insert into Customer(GUID,TypeID,商品名称) values (?,?,?)"),
                {QStringLiteral("G%1").arg(i), i, texts[i]});
    for (int i = 0; i < texts.size(); ++i) {
        gDbAccess->OpenQuery(QStringLiteral("select 商品名称,TypeID from Customer where GUID=?"),
                             {QStringLiteral("G%1").arg(i)});
        ASSERT_FALSE(gDbAccess->QueryData->Eof());
        EXPECT_EQ(gDbAccess->QueryData->Fields(0).AsString(), texts[i]);
        EXPECT_EQ(gDbAccess->QueryData->Fields(1).AsInteger(), i);
    }
    EXPECT_EQ(QueryInt(QStringLiteral("select count(*) from Customer where TypeID>=?"), {2}), 3);
    // NULL and a re-run keep their values.
    ExecSql(QStringLiteral("update Customer set 商品名称=? where GUID=?"),
            {QVariant(), QStringLiteral("G0")});
    EXPECT_EQ(QueryInt(QStringLiteral("select count(*) from Customer where 商品名称 is null")), 1);
    gDbAccess->QueryData->Requery();
    EXPECT_EQ(gDbAccess->QueryData->RecordCount(), 1);
}

TEST_F(AccessTest, BoundBatchIsAllOrNothing) {
    const std::vector<TBoundStatement> batch = {
        {QStringLiteral("insert into Customer(GUID,TypeID) values (?,0)"), {QStringLiteral("A")}},
        {QStringLiteral("insert into Customer(GUID,TypeID) values (?,0)"), {QStringLiteral("B")}},
        {QStringLiteral("insert into NoSuchTable(x) values (?)"), {1}}};
    try {
        ExecSql(batch);
        FAIL() << "the batch should fail";
    } catch (const EDBException& e) {
        EXPECT_EQ(e.UserMsg, QStringLiteral("数据库操作失败！"));
        EXPECT_EQ(e.SqlText, QStringLiteral("insert into NoSuchTable(x) values (?)"));
    }
    EXPECT_EQ(Count("Customer"), 0);
    ExecSql(std::vector<TBoundStatement>(batch.begin(), batch.end() - 1));
    EXPECT_EQ(Count("Customer"), 2);
    // A value count that does not match the placeholders is refused, not half bound.
    EXPECT_THROW(ExecSql(QStringLiteral("delete from Customer where GUID=?"), {}), EDBException);
    EXPECT_EQ(Count("Customer"), 2);
}
