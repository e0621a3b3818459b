// Backup, restore, clearing and compaction of the data file, as the dialog and the command line run them.
#include "common/UException.h"
#include "common/UntPublic.h"
#include "data/DataFileCopy.h"
#include "data/MD.h"
#include "data/Schema.h"
#include "maint/DataMaint.h"
#include "maint/UntCompactDatabase.h"
#include "support/TestFixture.h"

#include <QDir>
#include <QFile>
#include <sqlite3.h>

namespace {

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class DataMaintTest : public TDataFileTest {
protected:
    void Fill() {
        ExecSql(QStringLiteral(
            "insert into Customer(GUID,TypeID,商品编号,商品名称,库存) values ('G1',1,'C1','茶''叶',5)@#@"
            "insert into Customer(GUID,TypeID,商品编号,商品名称,库存) values ('G2',0,'C2','水',7)@#@"
            "insert into ConnFile(FileName) values ('f')@#@"
            "insert into CustomerType(SelfIndex,ParentIndex,TypeName) values (1,0,'饮料')@#@"
            "insert into StorIn(GUID,SL) values ('G1',5)@#@"
            "insert into NoteType(SelfIndex,ParentIndex,TypeName) values (1,0,'日记')@#@"
            "insert into NoteBook(TypeID,ReMark) values (0,'根的记事')@#@"
            "insert into Alam(iHour,iMinute,iMonWeek,ReDay,ReMark) values (8,30,1,2,'开门')@#@"
            "insert into AlamContext(ReMark) values ('盘点')"));
    }
    // Every table's rows, in a fixed order, as text: two files hold equal data exactly when these agree.
    QStringList Everything() {
        QStringList out;
        for (const char* t : {"Customer", "CustomerType", "NoteType", "AppTitle", "StorIn", "StorOut",
                              "StorOk", "NoteBook", "Alam", "AlamContext", "SysSet", "ConnFile"}) {
            QStringList rows = Rows(QStringLiteral("select * from %1").arg(QLatin1String(t)));
            rows.sort();
            out << QLatin1String(t) + QLatin1Char(':') + rows.join(QLatin1Char(';'));
        }
        return out;
    }
    int Count(const char* table) {
        return QueryInt(QStringLiteral("select count(*) from %1").arg(QLatin1String(table)));
    }
    QStringList LogEntries() {
        QStringList out;
        for (const QString& name : QDir(Dir()).entryList({QStringLiteral("Log*.log")}, QDir::Files))
            out << QString::fromUtf8(Bytes(Dir() + name)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        return out;
    }
    // Files in the folder apart from the data file, the logs and the named ones.
    QStringList Leftovers() {
        QStringList out;
        for (const QString& n : QDir(Dir()).entryList(QDir::Files | QDir::Hidden))
            if (!n.startsWith(QLatin1String("bookkeep.dat")) && !n.startsWith(QLatin1String("Log"))) out << n;
        return out;
    }
};

TEST_F(DataMaintTest, BackupNamesGetOneDatExtension) {
    const struct {
        const char* chosen;
        const char* file;
    } cases[] = {{"备份", "备份.dat"},
                 {"a.dat", "a.dat"},
                 {"b.DAT", "b.DAT"},
                 {"c.dat.bak", "c.dat.bak.dat"},
                 {"d.", "d..dat"}};
    for (const auto& c : cases) {
        EXPECT_EQ(BackupFileName(Dir() + QString::fromUtf8(c.chosen)), Dir() + QString::fromUtf8(c.file));
        messages.Clear();
        BackupDataAs(Dir() + QString::fromUtf8(c.chosen));
        EXPECT_TRUE(QFile::exists(Dir() + QString::fromUtf8(c.file))) << c.file;
        EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("备份成功!")});
    }
    EXPECT_FALSE(QFile::exists(Dir() + QStringLiteral("a.dat.dat")));
}

TEST_F(DataMaintTest, BackupAndRestoreRoundTripKeepsEveryRow) {
    Fill();
    const QStringList before = Everything();
    BackupDataAs(Dir() + QStringLiteral("week1"));
    // The backup is a complete data file of its own, without a log beside it.
    EXPECT_FALSE(QFile::exists(Dir() + QStringLiteral("week1.dat-wal")));
    VerifyDataFile(Dir() + QStringLiteral("week1.dat"), DatabasePassword());

    ExecSql(QStringLiteral("delete from Customer@#@delete from NoteBook@#@update Alam set ReMark='改'@#@"
                           "insert into StorOut(GUID,SL) values ('G2',1)"));
    const QStringList changed = Everything();
    ASSERT_NE(changed, before);
    messages.Clear();
    RestoreDataFrom(Dir() + QStringLiteral("week1.dat"));
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("数据恢复成功!")});
    EXPECT_TRUE(gDbAccess->Connection->Connected());
    EXPECT_EQ(Everything(), before);
    // The safety copy holds the data as it was just before the restore.
    {
        TDatabase safety;
        safety.Open(SafetyCopyPath(), DatabasePassword());
        TResultSet rs(&safety);
        rs.Open(QStringLiteral("select count(*) from Customer"));
        EXPECT_EQ(rs.Fields(0).AsInteger(), 0);
        rs.Open(QStringLiteral("select count(*) from StorOut"));
        EXPECT_EQ(rs.Fields(0).AsInteger(), 1);
    }
    const QStringList log = LogEntries();
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].endsWith(QStringLiteral("：数据恢复！"))) << log[0].toStdString();
    EXPECT_EQ(SafetyCopyPath(), Dir() + QStringLiteral("tmpData.dat"));
    EXPECT_EQ(Leftovers(), (QStringList{QStringLiteral("tmpData.dat"), QStringLiteral("week1.dat")}));
}

TEST_F(DataMaintTest, TheRestoredFileTakesWritesAndKeepsThemAcrossAReconnect) {
    Fill();
    BackupData(Dir() + QStringLiteral("b.dat"));
    RestoreDataFrom(Dir() + QStringLiteral("b.dat"));
    ExecSql(QStringLiteral("insert into Customer(GUID,商品编号) values ('G3','C3')"));
    ExecSql(QStringLiteral("update Customer set 库存=库存+1 where GUID='G1'"));
    delete gDbAccess;
    gDbAccess = new TDbAccess;
    gDbAccess->Connect();
    ASSERT_TRUE(gDbAccess->Connection->Connected());
    EXPECT_EQ(Rows(QStringLiteral("select GUID,库存 from Customer order by GUID")),
              (QStringList{QStringLiteral("G1|6"), QStringLiteral("G2|7"), QStringLiteral("G3|0")}));
}

TEST_F(DataMaintTest, RestoringTheSafetyCopyItselfBringsBackWhatItHeld) {
    Fill();
    MakeSafetyCopy();
    ExecSql(QStringLiteral("delete from Customer"));
    RestoreDataFrom(SafetyCopyPath());
    EXPECT_EQ(Count("Customer"), 2);
}

TEST_F(DataMaintTest, AForeignFileIsRefusedWithFileConnectionAndSafetyCopyUnchanged) {
    Fill();
    MakeSafetyCopy();
    const QByteArray safetyBefore = Bytes(SafetyCopyPath());
    const QStringList before = Everything();

    // an SQLite file of another program, a file with a wrong password check, plain text, an empty file,
    // a damaged copy of a real data file, a missing file
    const QString other = Dir() + QStringLiteral("other.dat");
    {
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(other).constData(), &db);
        sqlite3_exec(db, "create table Customer(x); insert into Customer values (1)", nullptr, nullptr,
                     nullptr);
        sqlite3_close(db);
    }
    const QString wrongPass = Dir() + QStringLiteral("wrongpass.dat");
    TDatabase::CreateFile(wrongPass, QStringLiteral("another"), SchemaSql());
    const QString text = Dir() + QStringLiteral("text.dat");
    WriteBytes(text, "just some text");
    const QString empty = Dir() + QStringLiteral("empty.dat");
    WriteBytes(empty, QByteArray());
    const QString damaged = Dir() + QStringLiteral("damaged.dat");
    BackupData(damaged);
    QByteArray bytes = Bytes(damaged);
    bytes.truncate(bytes.size() / 2);
    WriteBytes(damaged, bytes);

    for (const QString& file :
         {other, wrongPass, text, empty, damaged, Dir() + QStringLiteral("missing.dat")}) {
        messages.Clear();
        try {
            RestoreDataFrom(file);
            ADD_FAILURE() << "restored " << file.toStdString();
        } catch (const EDBException& e) {
            EXPECT_EQ(e.UserMsg, QStringLiteral("数据库恢复失败！"));
            EXPECT_TRUE(e.SqlText.isEmpty());
        }
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_TRUE(gDbAccess->Connection->Connected()) << file.toStdString();
        EXPECT_EQ(Everything(), before) << file.toStdString();
        EXPECT_EQ(Bytes(SafetyCopyPath()), safetyBefore);
    }
    EXPECT_TRUE(LogEntries().isEmpty());
    // nothing staged is left beside the data file
    for (const QString& n : Leftovers())
        EXPECT_FALSE(n.startsWith(QLatin1Char('~'))) << n.toStdString();
    // and the connection still writes
    ExecSql(QStringLiteral("delete from ConnFile"));
    EXPECT_EQ(Count("ConnFile"), 0);
}

TEST_F(DataMaintTest, AFailedSafetyCopyStopsTheRestoreAndTheClearing) {
    Fill();
    BackupData(Dir() + QStringLiteral("b.dat"));
    ExecSql(QStringLiteral("delete from Alam"));
    // a folder where the safety copy should go makes it fail
    ASSERT_TRUE(QDir(Dir()).mkdir(QStringLiteral("tmpData.dat")));
    ASSERT_TRUE(QFile::copy(Dir() + QStringLiteral("b.dat"), Dir() + QStringLiteral("tmpData.dat/x")));
    const QStringList before = Everything();
    for (int step = 0; step < 2; ++step) {
        messages.Clear();
        try {
            if (step == 0)
                RestoreDataFrom(Dir() + QStringLiteral("b.dat"));
            else
                ClearGoodsData();
            ADD_FAILURE();
        } catch (const EDBException& e) {
            EXPECT_EQ(e.UserMsg, QStringLiteral("数据库备份失败！"));
        }
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_TRUE(gDbAccess->Connection->Connected());
        EXPECT_EQ(Everything(), before);
    }
    EXPECT_TRUE(LogEntries().isEmpty());
}

TEST_F(DataMaintTest, ClearingRemovesGoodsFilesAndGroupsOnly) {
    Fill();
    const QStringList before = Everything();
    ClearGoodsData();
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("清除成功!")});
    for (const char* t : {"Customer", "ConnFile", "CustomerType"})
        EXPECT_EQ(Count(t), 0) << t;
    const QStringList after = Everything();
    for (int i = 0; i < before.size(); ++i) {
        if (before[i].startsWith(QLatin1String("Customer:")) ||
            before[i].startsWith(QLatin1String("CustomerType:")) ||
            before[i].startsWith(QLatin1String("ConnFile:")))
            continue;
        EXPECT_EQ(after[i], before[i]);
    }
    const QStringList log = LogEntries();
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].endsWith(QStringLiteral("：系统初始化！")));
    // the safety copy still has the goods
    TDatabase safety;
    safety.Open(SafetyCopyPath(), DatabasePassword());
    TResultSet rs(&safety);
    rs.Open(QStringLiteral("select count(*) from Customer"));
    EXPECT_EQ(rs.Fields(0).AsInteger(), 2);
}

TEST_F(DataMaintTest, ClearingIsAllOrNothing) {
    Fill();
    // A trigger that refuses the last delete makes the whole batch fail.
    ExecSql(QStringLiteral("insert into CustomerType(SelfIndex,ParentIndex,TypeName) values (9,0,'锁')"));
    sqlite3_exec(gDbAccess->Connection->Handle(),
                 "create trigger keep before delete on CustomerType when old.SelfIndex=9 "
                 "begin select raise(abort,'locked group'); end",
                 nullptr, nullptr, nullptr);
    const QStringList before = Everything();
    try {
        ClearGoodsData();
        FAIL();
    } catch (const EDBException& e) {
        EXPECT_EQ(e.UserMsg, QStringLiteral("数据库操作失败！"));
        EXPECT_EQ(e.SqlText,
                  QStringLiteral("delete from customer@#@delete from ConnFile@#@delete from CustomerType"));
    }
    EXPECT_EQ(Everything(), before);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(LogEntries().isEmpty());
}

TEST_F(DataMaintTest, CompactionKeepsEveryRowAndThePasswordCheckAndLeavesNoTemporaryFile) {
    Fill();
    // Something to reclaim: many rows written and deleted again.
    QStringList batch;
    for (int i = 0; i < 400; ++i)
        batch << QStringLiteral("insert into AlamContext(ReMark) values ('%1')")
                     .arg(QString(200, QLatin1Char('x')));
    ExecSql(batch.join(QLatin1String(BatchSeparator)));
    ExecSql(QStringLiteral("delete from AlamContext where ReMark<>'盘点'"));
    const QStringList before = Everything();
    gDbAccess->Connection->Close();
    const qint64 sizeBefore = QFileInfo(DataFile()).size();

    QString error;
    EXPECT_TRUE(CompactDatabase(DataFile(), DatabasePassword(), &error)) << error.toStdString();
    EXPECT_LT(QFileInfo(DataFile()).size(), sizeBefore);
    EXPECT_EQ(Leftovers(), QStringList());
    EXPECT_FALSE(QFile::exists(DataFile() + QStringLiteral("-wal")));

    // the same password opens it, another is refused
    TDatabase other;
    EXPECT_THROW(other.Open(DataFile(), QStringLiteral("wrong")), EEngineError);
    gDbAccess->Connect();
    ASSERT_TRUE(gDbAccess->Connection->Connected());
    EXPECT_EQ(Everything(), before);
}

TEST_F(DataMaintTest, AFailedCompactionLeavesTheOldFileWholeAndNothingBeside) {
    Fill();
    gDbAccess->Connection->Close();
    const QByteArray before = Bytes(DataFile());
    QString error;
    // the wrong password and a missing file
    EXPECT_FALSE(CompactDatabase(DataFile(), QStringLiteral("wrong"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(CompactDatabase(Dir() + QStringLiteral("missing.dat"), DatabasePassword()));
    EXPECT_EQ(Bytes(DataFile()), before);
    EXPECT_EQ(Leftovers(), QStringList());
    // a damaged file: the copy fails half way and the damaged file stays as it is, for the user to rescue
    QByteArray damaged = before;
    for (int i = 4096; i < damaged.size(); ++i)
        damaged[i] = char(0x5A);
    WriteBytes(DataFile(), damaged);
    error.clear();
    EXPECT_FALSE(CompactDatabase(DataFile(), DatabasePassword(), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(Bytes(DataFile()), damaged);
    EXPECT_EQ(Leftovers(), QStringList());
}
