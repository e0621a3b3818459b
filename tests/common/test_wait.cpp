// The waiting window behind ShowWaiting / HideWaiting.
#include "common/UException.h"
#include "common/UntPublic.h"
#include "common/Wait.h"
#include "common/WindowMessages.h"
#include "support/TestFixture.h"

#include <QApplication>
#include <QLabel>
#include <memory>

namespace {

// Records, for every box, whether the waiting window was on screen at that moment.
class TVisibilitySink : public TRecordingMessages {
public:
    bool Show(TMessageKind kind, const QString& caption, const QString& text) override {
        waitingVisible.push_back(gFormWaiting && gFormWaiting->isVisible());
        return TRecordingMessages::Show(kind, caption, text);
    }
    std::vector<bool> waitingVisible;
};

} // namespace

class WaitTest : public TDataFileTest {
protected:
    void SetUp() override {
        TDataFileTest::SetUp();
        CreateFormWaiting();
    }
    void TearDown() override {
        FreeFormWaiting();
        TDataFileTest::TearDown();
    }
};

TEST_F(WaitTest, WindowShape) {
    ASSERT_NE(gFormWaiting, nullptr);
    EXPECT_EQ(WaitingIndicator(), gFormWaiting);
    EXPECT_EQ(gFormWaiting->size(), QSize(305, 41));
    const Qt::WindowFlags flags = gFormWaiting->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(gFormWaiting->findChild<QLabel*>(QStringLiteral("Panel1")), gFormWaiting->Panel1());
    EXPECT_TRUE(gFormWaiting->Panel1()->text().isEmpty()); // every caller brings its own message
    EXPECT_FALSE(gFormWaiting->isVisible());
}

TEST_F(WaitTest, MessagesAndTheBusyCursor) {
    // Each step: the text passed (null = HideWaiting), then the caption and visibility expected.
    const struct {
        const char* text;
        const char* caption;
        bool visible;
    } steps[] = {
        {"", "", true}, // empty text: the initial, empty caption
        {"正在查询数据,请稍候...", "正在查询数据,请稍候...", true},
        {"正在保存数据,请稍候...", "正在保存数据,请稍候...", true}, // no nesting: only the text changes
        {nullptr, "正在保存数据,请稍候...", false},                 // the first hide hides
        {"", "正在保存数据,请稍候...", true},                       // the last message comes back
        {nullptr, "正在保存数据,请稍候...", false},
    };
    for (const auto& s : steps) {
        if (s.text)
            ShowWaiting(QString::fromUtf8(s.text));
        else
            HideWaiting();
        EXPECT_EQ(gFormWaiting->Panel1()->text(), QString::fromUtf8(s.caption));
        EXPECT_EQ(gFormWaiting->isVisible(), s.visible);
        EXPECT_EQ(gFormWaiting->BusyCursorShown(), s.visible);
        if (s.visible) {
            ASSERT_NE(QApplication::overrideCursor(), nullptr);
            EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        } else {
            EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        }
    }
}

TEST_F(WaitTest, ExceptionInTheBracketHidesTheWindowBeforeTheErrorBox) {
    TVisibilitySink sink;
    SetMessageSink(&sink);
    bool visibleInside = false;
    Guard([&] {
        TWaitingScope waiting(QStringLiteral("正在查询数据,请稍候..."));
        visibleInside = gFormWaiting->isVisible();
        throw EAppError(QStringLiteral("查询失败"));
    });
    SetMessageSink(&messages);
    EXPECT_TRUE(visibleInside);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].text, QStringLiteral("查询失败"));
    EXPECT_EQ(sink.waitingVisible, std::vector<bool>{false});
    EXPECT_FALSE(gFormWaiting->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(WaitTest, FreeingUninstallsTheWindow) {
    FreeFormWaiting();
    EXPECT_EQ(gFormWaiting, nullptr);
    EXPECT_EQ(WaitingIndicator(), nullptr);
    ShowWaiting(QStringLiteral("x")); // nothing to show, nothing breaks
    HideWaiting();
}

TEST_F(WaitTest, ShownCentredOnTheMainWindow) {
    QWidget main;
    main.setGeometry(100, 80, 900, 600);
    main.show();
    MainWindowTarget() = &main;
    ShowWaiting(QStringLiteral("正在查询数据,请稍候..."));
    const QPoint centre = gFormWaiting->frameGeometry().center();
    HideWaiting();
    MainWindowTarget() = nullptr;
    EXPECT_EQ(centre, main.frameGeometry().center());
}
