// Where the program keeps its data file: beside itself when run from where it was built, in the user's data
// folder when installed; and the first start of an installed program.
#include "app/FirstStart.h"
#include "common/AppDirChoice.h"
#include "common/UntPublic.h"
#include "data/MD.h"
#include "support/TestFixture.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

struct TChoiceCase {
    const char* what;
    const char* exeDir;
    bool writable;
    const char* installBinDir;
    const char* xdgDataHome;
    const char* expected;
};

const TChoiceCase kChoiceCases[] = {
    {"build folder", "/home/ann/bookkeep/build", true, "/usr/bin", "", "/home/ann/bookkeep/build/"},
    {"build folder, XDG set", "/home/ann/bookkeep/build", true, "/usr/bin", "/data/ann",
     "/home/ann/bookkeep/build/"},
    {"installed, no XDG", "/usr/bin", false, "/usr/bin", "", "/home/ann/.local/share/bookkeep/"},
    {"installed, XDG set", "/usr/bin", false, "/usr/bin", "/data/ann", "/data/ann/bookkeep/"},
    {"installed, XDG with slash", "/usr/bin", false, "/usr/bin", "/data/ann/", "/data/ann/bookkeep/"},
    {"installed, relative XDG ignored", "/usr/bin", false, "/usr/bin", "data",
     "/home/ann/.local/share/bookkeep/"},
    {"root may write the install folder", "/usr/bin", true, "/usr/bin", "",
     "/home/ann/.local/share/bookkeep/"},
    {"a read-only copy elsewhere", "/media/cd/bookkeep", false, "/usr/bin", "",
     "/home/ann/.local/share/bookkeep/"},
    {"no install folder known", "/opt/bk", true, "", "", "/opt/bk/"},
};

TEST(AppDirChoice, ExecutableFolderOrUserDataFolder) {
    for (const TChoiceCase& c : kChoiceCases) {
        TAppDirFacts facts;
        facts.ExeDir = QString::fromUtf8(c.exeDir);
        facts.ExeDirWritable = c.writable;
        facts.InstallBinDir = QString::fromUtf8(c.installBinDir);
        facts.XdgDataHome = QString::fromUtf8(c.xdgDataHome);
        facts.HomeDir = QStringLiteral("/home/ann");
        EXPECT_EQ(ChooseAppDir(facts), QString::fromUtf8(c.expected)) << c.what;
        EXPECT_EQ(UsesUserDataAppDir(facts), !QString::fromUtf8(c.expected).startsWith(facts.ExeDir))
            << c.what;
    }
}

TEST(AppDirChoice, InstallFolderReachedThroughALink) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("bin")));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("bin")), dir.filePath(QStringLiteral("link"))));
    TAppDirFacts facts{dir.filePath(QStringLiteral("link")),
                       true,
                       dir.filePath(QStringLiteral("bin")),
                       {},
                       QStringLiteral("/home/ann")};
    EXPECT_EQ(ChooseAppDir(facts), QStringLiteral("/home/ann/.local/share/bookkeep/"));
}

TEST(AppDirChoice, TheProcessItselfRunsFromAWritableFolder) {
    // The tests run from the build folder, which is where a developer's data file lives.
    const TAppDirFacts facts = CurrentAppDirFacts();
    EXPECT_TRUE(facts.ExeDirWritable);
    EXPECT_FALSE(UsesUserDataAppDir(facts));
    EXPECT_EQ(QDir::cleanPath(ChooseAppDir(facts)), QDir::cleanPath(QCoreApplication::applicationDirPath()));
}

class FirstStart : public TDataFileTest {};

TEST_F(FirstStart, MakesTheFolderAndAnEmptyDataFileThatOpens) {
    const QString dir = Dir() + QStringLiteral("home/.local/share/bookkeep");
    ASSERT_FALSE(QFileInfo::exists(dir));
    ASSERT_TRUE(EnsureDataFile(dir));
    const QString file = dir + QStringLiteral("/bookkeep.dat");
    ASSERT_TRUE(QFileInfo::exists(file));

    delete gDbAccess;
    SetAppDir(dir);
    gDbAccess = new TDbAccess;
    gDbAccess->Connect();
    ASSERT_TRUE(gDbAccess->Connection->Connected());
    EXPECT_EQ(QueryInt(QStringLiteral("select count(*) from Customer")), 0);
    EXPECT_EQ(QueryInt(QStringLiteral("select count(*) from CustomerType where SelfIndex=0")), 1);
}

TEST_F(FirstStart, LeavesAnExistingDataFileAlone) {
    ExecSql(QStringLiteral("insert into CustomerType(SelfIndex,ParentIndex,TypeName) values (7,0,'饮料')"));
    const QString file = TDbAccess::DataFilePath();
    const qint64 size = QFileInfo(file).size();
    EXPECT_TRUE(EnsureDataFile(QFileInfo(file).absolutePath()));
    EXPECT_EQ(QFileInfo(file).size(), size);
    EXPECT_EQ(QueryInt(QStringLiteral("select count(*) from CustomerType where TypeName='饮料'")), 1);
}

TEST_F(FirstStart, AFolderThatCannotBeMadeIsReported) {
    // A plain file stands where the folder should be.
    const QString blocker = Dir() + QStringLiteral("blocker");
    QFile f(blocker);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_FALSE(EnsureDataFile(blocker + QStringLiteral("/bookkeep")));
}

TEST_F(FirstStart, AnInstalledProgramMakesItsDataFileInTheUserDataFolderOnly) {
    TAppDirFacts facts{QStringLiteral("/usr/bin"), false, QStringLiteral("/usr/bin"),
                       Dir() + QStringLiteral("xdg"), Dir() + QStringLiteral("home")};
    const QString userDir = Dir() + QStringLiteral("xdg/bookkeep/");

    // AppDir pointed elsewhere (as the fixture does): nothing is made.
    PrepareAppDir(facts);
    EXPECT_FALSE(QFileInfo::exists(userDir));

    // AppDir chosen from the facts, as at a real start.
    SetAppDir(ChooseAppDir(facts));
    ASSERT_EQ(AppDir(), userDir);
    PrepareAppDir(facts);
    EXPECT_TRUE(QFileInfo::exists(userDir + QStringLiteral("bookkeep.dat")));
    EXPECT_EQ(TDbAccess::DataFilePath(), userDir + QStringLiteral("bookkeep.dat"));

    // Run from a writable build folder, AppDir there holds no new file.
    TAppDirFacts build{Dir() + QStringLiteral("build"), true, QStringLiteral("/usr/bin"), {}, {}};
    SetAppDir(ChooseAppDir(build));
    PrepareAppDir(build);
    EXPECT_FALSE(QFileInfo::exists(Dir() + QStringLiteral("build/bookkeep.dat")));
}

} // namespace
