// The data file is never silently damaged: texts stored as typed, batches all or nothing, a replaced or
// damaged file refused.
#include "common/UException.h"
#include "data/BatchText.h"
#include "data/MD.h"
#include "data/Schema.h"
#include "support/TestFixture.h"

#include <QFile>
#include <sqlite3.h>
#include <unistd.h>

namespace {

QString IntegrityOf(const QString& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    QString out;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        out = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    else
        out = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
}

QString BatchFailure(const QString& batch) {
    try {
        ExecSql(batch);
    } catch (const EDBException& e) {
        return e.UserMsg + QLatin1Char('|') + e.Message();
    }
    return {};
}

} // namespace

class DataFileSafetyTest : public TDataFileTest {};

TEST(SplitBatchTest, CutsOnlyOutsideQuotedText) {
    const QString sep = QStringLiteral("@#@");
    struct Case {
        QString text;
        QStringList pieces;
    } cases[] = {
        {QStringLiteral("a@#@b"), {QStringLiteral("a"), QStringLiteral("b")}},
        {QStringLiteral("x('1@#@2')@#@y"), {QStringLiteral("x('1@#@2')"), QStringLiteral("y")}},
        {QStringLiteral("x('it''s @#@')@#@"), {QStringLiteral("x('it''s @#@')"), QString()}},
        {QStringLiteral("x(\"q@#@\")@#@@#@z"),
         {QStringLiteral("x(\"q@#@\")"), QString(), QStringLiteral("z")}},
        {QStringLiteral("[a@#@b]@#@c"), {QStringLiteral("[a@#@b]"), QStringLiteral("c")}},
        {QString(), {QString()}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitBatch(c.text, sep), c.pieces) << c.text.toStdString();
    for (const char* s : {"begin", " COMMIT", "end transaction", "Rollback", "savepoint a", "release a"})
        EXPECT_TRUE(IsTransactionStatement(QString::fromLatin1(s))) << s;
    for (const char* s : {"select 1", "update Customer set 备注='begin'", "endx"})
        EXPECT_FALSE(IsTransactionStatement(QString::fromLatin1(s))) << s;
}

TEST_F(DataFileSafetyTest, TextsAreStoredAsTyped) {
    const QString nul = QStringLiteral("a") + QChar(0) + QStringLiteral("b");
    const QString typed[] = {QStringLiteral("甲@#@乙"), QStringLiteral("x@#@delete from CustomerType@#@"),
                             QStringLiteral("it's"), QStringLiteral("a'; drop table Alam; --"), nul};
    int n = 1;
    for (const QString& t : typed) {
        ExecSql(
            QStringLiteral("insert into CustomerType(SelfIndex,ParentIndex,TypeName) values (%1,0,'%2')@#@"
                           "insert into NoteBook(TypeID,ReMark) values (%1,'%2')")
                .arg(n++)
                .arg(QuotedSql(t)));
    }
    QStringList expected;
    for (const QString& t : typed)
        expected << QString(t).remove(QChar(0));
    QStringList names;
    for (const QString& r :
         Rows(QStringLiteral("select TypeName from CustomerType where SelfIndex>0 order by SelfIndex")))
        names << r;
    EXPECT_EQ(names, expected);
    EXPECT_EQ(Rows(QStringLiteral("select ReMark from NoteBook order by TypeID")), expected);
}

TEST_F(DataFileSafetyTest, TransactionStatementsInABatchAreRefusedAndNothingIsKept) {
    for (const char* stmt : {"commit", "begin", "end", "rollback", "savepoint s", "release s"}) {
        const QString failure = BatchFailure(
            QStringLiteral("insert into AlamContext(ReMark) values ('A')@#@%1@#@"
                           "insert into AlamContext(ReMark) values ('B')@#@delete from NoSuchTable")
                .arg(QString::fromLatin1(stmt)));
        EXPECT_TRUE(failure.startsWith(QStringLiteral("数据库操作失败！|"))) << failure.toStdString();
        EXPECT_EQ(QueryInt(QStringLiteral("select count(*) from AlamContext")), 0) << stmt;
    }
}

TEST_F(DataFileSafetyTest, WordsThatAreColumnsStayColumns) {
    for (const char* name : {"No", "Yes", "True", "False"})
        ExecSql(QStringLiteral("alter table Customer add %1 varchar(100)").arg(QString::fromLatin1(name)));
    ExecSql(QStringLiteral("insert into Customer([GUID],No,Yes,True,False) values ('G','n','y','t','f')"));
    EXPECT_EQ(Rows(QStringLiteral("select No,Yes,True,False from Customer where No like '%n%'")),
              QStringList{QStringLiteral("n|y|t|f")});
    ExecSql(QStringLiteral("update Customer set No='m' where Yes='y'"));
    EXPECT_EQ(Rows(QStringLiteral("select No from Customer")), QStringList{QStringLiteral("m")});
    // Where no table of the statement has such a column they are still values.
    EXPECT_EQ(QueryInt(QStringLiteral("select IIf(True, 1, 2) from SysSet")), 1);
    EXPECT_EQ(QueryInt(QStringLiteral("select IIf(No, 1, 2) from SysSet")), 2);
    ExecSql(QStringLiteral("alter table Customer drop COLUMN No"));
}

TEST_F(DataFileSafetyTest, ADeletedFileIsNotWrittenAfterwards) {
    ASSERT_TRUE(QFile::remove(DataFile()));
    const QString failure = BatchFailure(QStringLiteral("insert into AlamContext(ReMark) values ('x')"));
    EXPECT_EQ(failure,
              QStringLiteral("数据库操作失败！|数据文件已被其他程序移动、删除或替换，请重新启动程序。"));
    EXPECT_EQ(BatchFailure(QStringLiteral("insert into AlamContext(ReMark) values ('y')")), failure);
}

TEST_F(DataFileSafetyTest, AFileReplacedByCopyOrMoveIsLeftAsItCame) {
    const QString other = Dir() + QStringLiteral("other.dat");
    for (const bool move : {false, true}) {
        ExecSql(QStringLiteral("insert into AlamContext(ReMark) values ('mine')"));
        QFile::remove(other);
        CreateDataFile(other);
        {
            TDatabase db;
            db.Open(other, DatabasePassword());
            db.Execute(QStringLiteral("insert into AlamContext(ReMark) values ('theirs')"));
            db.Checkpoint();
        }
        TDatabase::RemoveSideFiles(other);
        QFile in(other);
        ASSERT_TRUE(in.open(QIODevice::ReadOnly));
        const QByteArray bytes = in.readAll();
        in.close();
        if (move) {
            ASSERT_EQ(
                ::rename(QFile::encodeName(other).constData(), QFile::encodeName(DataFile()).constData()), 0);
        } else {
            QFile out(DataFile());
            ASSERT_TRUE(out.open(QIODevice::ReadWrite | QIODevice::Truncate)); // keeps the inode
            out.write(bytes);
        }
        EXPECT_EQ(BatchFailure(QStringLiteral("insert into AlamContext(ReMark) values ('lost')")),
                  QStringLiteral("数据库操作失败！|数据文件已被其他程序移动、删除或替换，请重新启动程序。"))
            << (move ? "mv" : "cp");
        gDbAccess->Connection->Close();
        QFile now(DataFile());
        ASSERT_TRUE(now.open(QIODevice::ReadOnly));
        EXPECT_EQ(now.readAll(), bytes) << (move ? "mv" : "cp");
        now.close();
        EXPECT_EQ(IntegrityOf(DataFile()), QStringLiteral("ok"));
        // Opened again, the replacement is the data file, with its own rows only.
        gDbAccess->Connect();
        ASSERT_TRUE(gDbAccess->Connection->Connected());
        EXPECT_EQ(Rows(QStringLiteral("select ReMark from AlamContext")),
                  QStringList{QStringLiteral("theirs")});
        ExecSql(QStringLiteral("delete from AlamContext"));
    }
}

TEST_F(DataFileSafetyTest, ADamagedFileIsRefusedAtConnect) {
    ExecSql(QStringLiteral("insert into AlamContext(ReMark) values ('x')"));
    gDbAccess->Connection->Close();
    QFile f(DataFile());
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.resize(f.size() - 280));
    f.close();
    messages.Clear();
    gDbAccess->Connect();
    EXPECT_FALSE(gDbAccess->Connection->Connected());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.startsWith(
        QStringLiteral("数据库连接失败！\r\n详细信息：数据文件已损坏，请用备份恢复。（")))
        << messages.shown[0].text.toStdString();
}

TEST_F(DataFileSafetyTest, AReadOnlyFileOrFolderIsRefusedAtStart) {
    if (geteuid() == 0) GTEST_SKIP() << "running as root: file permissions do not stop root from writing";
    gDbAccess->Connection->Close();
    TDatabase::RemoveSideFiles(DataFile());
    for (const bool folder : {false, true}) {
        const QString target = folder ? Dir() : DataFile();
        const auto before = QFile::permissions(target);
        QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        messages.Clear();
        gDbAccess->Connect();
        EXPECT_FALSE(gDbAccess->Connection->Connected());
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_TRUE(messages.shown[0].text.startsWith(
            QStringLiteral("数据库连接失败！\r\n详细信息：数据文件或其所在文件夹是只读的。")));
        QFile::setPermissions(target, before);
        EXPECT_FALSE(QFile::exists(DataFile() + QStringLiteral("-shm")));
        EXPECT_FALSE(QFile::exists(DataFile() + QStringLiteral("-wal")));
    }
    gDbAccess->Connect();
    EXPECT_TRUE(gDbAccess->Connection->Connected());
}
