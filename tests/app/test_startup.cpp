// Start-up and shutdown of the program as a whole.
#include "app/FormMain.h"
#include "app/Startup.h"
#include "common/Wait.h"
#include "common/WindowMessages.h"
#include "data/MD.h"
#include "data/Schema.h"
#include "support/TestFixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>

namespace {

QStringList CompactionFiles() {
    return QDir(QDir::tempPath()).entryList({QStringLiteral("~CP*")}, QDir::Files | QDir::Hidden);
}

int MainWindowCount() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        n += qobject_cast<TFormMain*>(w) != nullptr;
    return n;
}

} // namespace

class StartupTest : public TEmptyFolderTest {};

TEST_F(StartupTest, WithoutDataFileOneErrorBoxAndNoWindow) {
    const QStringList compactBefore = CompactionFiles();
    EXPECT_EQ(RunApplication(), 0);

    ASSERT_EQ(messages.shown.size(), 1u) << messages.Texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(messages.shown[0].kind, TMessageKind::Error);
    EXPECT_EQ(messages.shown[0].caption, QStringLiteral("错误"));
    EXPECT_TRUE(messages.shown[0].text.startsWith(QStringLiteral("数据库连接失败！\r\n详细信息：")))
        << messages.shown[0].text.toStdString();
    EXPECT_EQ(MainWindowCount(), 0);
    EXPECT_EQ(MainWindowTarget(), nullptr);
    EXPECT_EQ(gDbAccess, nullptr);
    // No log entry, no data file made, nothing compacted.
    EXPECT_TRUE(QDir(Dir()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_EQ(CompactionFiles(), compactBefore);
}

TEST_F(StartupTest, ForeignDataFileIsRefusedAndLeftAsItWas) {
    const QByteArray foreign("not a data file of ours, just some bytes");
    {
        QFile f(Dir() + QStringLiteral("bookkeep.dat"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(foreign);
    }
    EXPECT_EQ(RunApplication(), 0);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.startsWith(QStringLiteral("数据库连接失败！")));
    EXPECT_EQ(MainWindowCount(), 0);
    EXPECT_EQ(QDir(Dir()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("bookkeep.dat")});
    QFile f(Dir() + QStringLiteral("bookkeep.dat"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), foreign);
}

TEST_F(StartupTest, WithDataFileRunsTheMainWindowUntilItCloses) {
    CreateDataFile(Dir() + QStringLiteral("bookkeep.dat"));
    struct {
        bool seen = false;
        bool visible = false;
        bool maximized = false;
        QString title;
        bool waitingInstalled = false;
        bool connected = false;
    } during;
    // Runs inside the program's loop; the inner call comes after the window's own deferred show.
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* form = qobject_cast<TFormMain*>(w);
                if (!form) continue;
                during.seen = true;
                during.visible = form->isVisible();
                during.maximized = form->windowState().testFlag(Qt::WindowMaximized);
                during.title = form->windowTitle();
                during.waitingInstalled = gFormWaiting && WaitingIndicator() == gFormWaiting;
                during.connected = gDbAccess && gDbAccess->Connection->Connected();
                form->close();
            }
            if (!during.seen) QCoreApplication::quit(); // keep the test from hanging when something is wrong
        });
    });
    EXPECT_EQ(RunApplication(), 0);

    EXPECT_TRUE(during.seen);
    EXPECT_TRUE(during.visible);
    EXPECT_TRUE(during.maximized);
    EXPECT_EQ(during.title, QStringLiteral("仓库管理软件-Quvaro软件"));
    EXPECT_EQ(QCoreApplication::applicationName(), AppTitle());
    EXPECT_TRUE(during.waitingInstalled);
    EXPECT_TRUE(during.connected);
    EXPECT_TRUE(messages.shown.empty()) << messages.Texts().join(QLatin1Char('\n')).toStdString();
    // Afterwards: the window is gone, the access layer and the waiting window are freed.
    EXPECT_EQ(MainWindowCount(), 0);
    EXPECT_EQ(MainWindowTarget(), nullptr);
    EXPECT_EQ(gDbAccess, nullptr);
    EXPECT_EQ(gFormWaiting, nullptr);
    EXPECT_EQ(WaitingIndicator(), nullptr);
}
