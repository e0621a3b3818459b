// The login settings in SysSet and the autostart entry.
#include "common/UException.h"
#include "data/MD.h"
#include "maint/AutoStart.h"
#include "maint/UntConfig.h"
#include "support/TestFixture.h"

#include <QDir>
#include <QFile>

class ConfigTest : public TDataFileTest {};

TEST_F(ConfigTest, SavesAndLoadsPasswordsExactlyAsTyped) {
    gConfig->Load();
    EXPECT_FALSE(gConfig->bPass);
    EXPECT_EQ(gConfig->PassWord, QString());
    for (const QString& password : {QStringLiteral("it's"), QStringLiteral(" 前导空格"),
                                    QStringLiteral("a'';--"), QStringLiteral("CaSe"), QString()}) {
        TConfig c;
        c.bPass = !password.isEmpty();
        c.PassWord = password;
        c.Save();
        EXPECT_EQ(c.LastSql, QStringLiteral("update SysSet set bPass=?,[PassWord]=? "));
        TConfig read;
        read.Load();
        EXPECT_EQ(read.bPass, c.bPass);
        EXPECT_EQ(read.PassWord, password);
        EXPECT_EQ(read.LastSql, QStringLiteral("select * from SysSet"));
    }
    // true is stored as the file has always stored it
    TConfig on;
    on.bPass = true;
    on.Save();
    EXPECT_EQ(Rows(QStringLiteral("select bPass from SysSet")), QStringList{QStringLiteral("-1")});
}

TEST_F(ConfigTest, ATableWithoutARowReadsAsNoPassword) {
    ExecSql(QStringLiteral("delete from SysSet"));
    TConfig c;
    c.bPass = true;
    c.PassWord = QStringLiteral("x");
    c.Load();
    EXPECT_FALSE(c.bPass);
    EXPECT_TRUE(c.PassWord.isEmpty());
}

TEST_F(ConfigTest, AFailedSaveRaisesTheDatabaseError) {
    ExecSql(QStringLiteral("drop table SysSet"));
    TConfig c;
    c.PassWord = QStringLiteral("p");
    try {
        c.Save();
        FAIL();
    } catch (const EDBException& e) {
        EXPECT_EQ(e.UserMsg, QStringLiteral("数据库操作失败！"));
    }
}

class AutoStartTest : public TEmptyFolderTest {
protected:
    QString Name() const { return QStringLiteral("仓库管理软件-Quvaro软件"); }
    QString Entry() const {
        return Dir() + QStringLiteral("config/autostart/仓库管理软件-Quvaro软件.desktop");
    }
    QString Read() const {
        QFile f(Entry());
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    void Write(const QString& text) {
        QDir().mkpath(Dir() + QStringLiteral("config/autostart"));
        QFile f(Entry());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.toUtf8());
    }
};

TEST_F(AutoStartTest, TheEntryFollowsTheConfigFolder) {
    EXPECT_EQ(AutoStartFile(Name()), Entry());
    qputenv("XDG_CONFIG_HOME", "relative/ignored");
    EXPECT_EQ(AutoStartDir(), QDir::homePath() + QStringLiteral("/.config/autostart/"));
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(AutoStartDir(), QDir::homePath() + QStringLiteral("/.config/autostart/"));
}

TEST_F(AutoStartTest, OnWritesTheEntryAndOffRemovesIt) {
    const QString exe = QStringLiteral("/opt/bookkeep/bin/bookkeep");
    EXPECT_FALSE(IsAutoStart(Name(), exe));
    SetAutoStart(Name(), exe, true);
    EXPECT_TRUE(IsAutoStart(Name(), exe));
    const QString text = Read();
    EXPECT_TRUE(text.startsWith(QStringLiteral("[Desktop Entry]\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\nType=Application\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nExec=/opt/bookkeep/bin/bookkeep\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nName=仓库管理软件-Quvaro软件\n")));
    // written twice, still one entry
    SetAutoStart(Name(), exe, true);
    EXPECT_EQ(QDir(Dir() + QStringLiteral("config/autostart")).entryList(QDir::Files).size(), 1);
    SetAutoStart(Name(), exe, false);
    EXPECT_FALSE(QFile::exists(Entry()));
    EXPECT_FALSE(IsAutoStart(Name(), exe));
    // off without an entry is no error
    SetAutoStart(Name(), exe, false);
}

TEST_F(AutoStartTest, OnlyAnEntryForThisVeryPathCountsAsOn) {
    const QString exe = QStringLiteral("/home/u/仓库 管理/bookkeep");
    SetAutoStart(Name(), exe, true);
    // a path with a blank is quoted so that the session can run it, and still reads back as this path
    EXPECT_TRUE(Read().contains(QStringLiteral("\nExec=\"/home/u/仓库 管理/bookkeep\"\n")));
    EXPECT_TRUE(IsAutoStart(Name(), exe));
    EXPECT_FALSE(IsAutoStart(Name(), QStringLiteral("/home/u/仓库")));

    const struct {
        const char* text;
        bool on;
    } cases[] = {
        {"[Desktop Entry]\nExec=/usr/bin/bookkeep\n", true},
        {"[Desktop Entry]\nExec = /usr/bin/bookkeep\n", true},
        {"[Desktop Entry]\nExec=/old/place/bookkeep\n", false},        // the program was moved
        {"[Desktop Entry]\nExec=/usr/bin/bookkeep --hidden\n", false}, // arguments: not ours
        {"[Desktop Entry]\nName=x\n", false},
        {"[Other]\nExec=/usr/bin/bookkeep\n", false},
        {"", false},
    };
    for (const auto& c : cases) {
        Write(QString::fromUtf8(c.text));
        EXPECT_EQ(IsAutoStart(Name(), QStringLiteral("/usr/bin/bookkeep")), c.on) << c.text;
    }
}

TEST_F(AutoStartTest, AFolderThatCannotBeWrittenFailsSilently) {
    // a file where the config folder should be: nothing can be made below it
    QFile blocker(Dir() + QStringLiteral("config"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SetAutoStart(Name(), QStringLiteral("/usr/bin/bookkeep"), true);
    EXPECT_FALSE(IsAutoStart(Name(), QStringLiteral("/usr/bin/bookkeep")));
    SetAutoStart(Name(), QStringLiteral("/usr/bin/bookkeep"), false);
}
