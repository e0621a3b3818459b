// The application-wide handler, the message functions and the daily log.
#include "common/UException.h"
#include "common/UntPublic.h"
#include "data/MD.h"
#include "support/TestFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
QString ReadLog(const QString& dir, const QString& day) {
    QFile f(dir + QStringLiteral("Log") + day + QStringLiteral(".log"));
    if (!f.open(QIODevice::ReadOnly)) return QStringLiteral("<missing>");
    return QString::fromUtf8(f.readAll());
}
} // namespace

class ErrorsTest : public TDataFileTest {};

TEST_F(ErrorsTest, MessageFunctionsUseTheirCaptions) {
    ShowInfo(QStringLiteral("i"));
    ShowError(QStringLiteral("e"));
    messages.QueueAnswer(true);
    EXPECT_TRUE(AskYesNo(QStringLiteral("q1")));
    EXPECT_FALSE(AskYesNo(QStringLiteral("q2"))); // unqueued: No, the default button
    ASSERT_EQ(messages.shown.size(), 4u);
    EXPECT_EQ(messages.shown[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(messages.shown[1].caption, QStringLiteral("错误"));
    EXPECT_EQ(messages.shown[2].caption, QStringLiteral("确认"));
    EXPECT_EQ(messages.shown[2].kind, TMessageKind::Question);
}

TEST_F(ErrorsTest, DatabaseFailureIsShownWithDetailAndLogged) {
    SetNow(QDateTime(QDate(2024, 1, 5), QTime(23, 59, 59)));
    Guard([] { ExecSql(QStringLiteral("delete from Customer@#@delete from Nope")); });
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, QStringLiteral("错误"));
    EXPECT_TRUE(messages.shown[0].text.startsWith(QStringLiteral("数据库操作失败！\r\n详细信息：")));
    EXPECT_EQ(gCardException->ErrUserMsg, QStringLiteral("数据库操作失败！"));
    EXPECT_EQ(gCardException->ErrSqlText, QStringLiteral("delete from Customer@#@delete from Nope"));
    const QString log = ReadLog(Dir(), QStringLiteral("20240105"));
    const QStringList lines = log.split(QStringLiteral("\r\n"));
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("2024-01-05 23:59:59：数据库操作失败！"));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("详细信息：")));
    EXPECT_EQ(lines[2], QStringLiteral("delete from Customer@#@delete from Nope"));
    EXPECT_EQ(lines[3], QString());

    // two seconds later it is another day and another file
    SetNow(QDateTime(QDate(2024, 1, 6), QTime(0, 0, 1)));
    Guard([] { gDbAccess->OpenQuery(QStringLiteral("select x from Nope")); });
    EXPECT_TRUE(ReadLog(Dir(), QStringLiteral("20240106"))
                    .startsWith(QStringLiteral("2024-01-06 00:00:01：数据库查询错误，请检查！")));
    EXPECT_EQ(ReadLog(Dir(), QStringLiteral("20240105")), log);
}

TEST_F(ErrorsTest, PlainErrorsAndAbort) {
    Guard([] { throw EAppError(QStringLiteral("密码输入错误!")); });
    Guard([] { Abort(); });
    Guard([] { throw std::runtime_error("boom"); });
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("密码输入错误!"));
    EXPECT_EQ(messages.shown[0].caption, QStringLiteral("错误"));
    EXPECT_EQ(messages.shown[1].text, QStringLiteral("boom"));
    EXPECT_TRUE(QDir(Dir()).entryList({QStringLiteral("Log*.log")}).isEmpty());
}

TEST_F(ErrorsTest, EntriesAppendAndKeepTheirLines) {
    SetNow(QDateTime(QDate(2024, 2, 1), QTime(8, 0, 0)));
    WriteLog(QStringLiteral("数据恢复！"));
    WriteLog(QStringLiteral("a\r\nb"));
    EXPECT_EQ(ReadLog(Dir(), QStringLiteral("20240201")),
              QStringLiteral("2024-02-01 08:00:00：数据恢复！\r\n2024-02-01 08:00:00：a\r\nb\r\n"));
}

TEST_F(ErrorsTest, UnwritableLogIsIgnored) {
    // a folder standing where the day's log would go makes it unwritable, whatever the user's rights
    SetNow(QDateTime(QDate(2024, 2, 2), QTime(8, 0, 0)));
    ASSERT_TRUE(QDir().mkpath(Dir() + QStringLiteral("Log20240202.log")));
    ShowErrorDetail(QStringLiteral("m"), QStringLiteral("d"), QStringLiteral("select 1"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("m\r\n详细信息：d"));
    EXPECT_TRUE(QFileInfo(Dir() + QStringLiteral("Log20240202.log")).isDir());
}

TEST_F(ErrorsTest, AppDirEndsWithSeparator) {
    SetAppDir(QStringLiteral("/tmp/x"));
    EXPECT_EQ(AppDir(), QStringLiteral("/tmp/x/"));
}
