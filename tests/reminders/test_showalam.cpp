// The reminder popup: its look, its buttons and what they post, the corner it rolls into, the chime.
#include "PopupTestSupport.h"
#include "support/TestFixture.h"

#include <QAction>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QPointer>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QtEndian>

namespace {

class ShowAlamTest : public TEmptyFolderTest {
protected:
    void TearDown() override {
        CloseAllPopups();
        TEmptyFolderTest::TearDown();
    }
    TCountingChime chime;
    TPostRecorder posted;
};

QRect Available() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

} // namespace

TEST_F(ShowAlamTest, AOneTimeReminderPopsUpWithThreeButtonsAndItsText) {
    TFormShowAlam* p = ShowAlamPopup(QStringLiteral("42"), QStringLiteral("给老王打电话\n带上合同"), false);
    ASSERT_TRUE(p->isVisible());
    EXPECT_EQ(p->AlamId, QStringLiteral("42"));
    EXPECT_FALSE(p->Repeating);
    EXPECT_EQ(p->windowTitle(), QStringLiteral("提醒"));
    EXPECT_TRUE(p->isWindow());
    EXPECT_EQ(p->parentWidget(), nullptr);
    const Qt::WindowFlags flags = p->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(flags & Qt::WindowMinMaxButtonsHint);
    EXPECT_FALSE(p->testAttribute(Qt::WA_QuitOnClose));
    EXPECT_EQ(p->palette().color(QPalette::Window), QColor(240, 240, 240));
    EXPECT_EQ(chime.count, 1);

    QTextEdit* mmo1 = p->mmo1();
    EXPECT_EQ(mmo1->objectName(), QStringLiteral("mmo1"));
    EXPECT_TRUE(mmo1->isReadOnly());
    EXPECT_EQ(mmo1->toPlainText(), QStringLiteral("给老王打电话\n带上合同"));
    EXPECT_EQ(mmo1->font().pixelSize(), 17);
    EXPECT_EQ(mmo1->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(mmo1->document()->defaultTextOption().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(mmo1->height(), TFormShowAlam::ClientHeight - 34);

    const QList<QPushButton*> buttons{p->btnCon(), p->btnOkDel(), p->btnOkSave()};
    const QStringList captions{QStringLiteral("再次提醒"), QStringLiteral("看到了并删除"),
                               QStringLiteral("看到了并保留")};
    const QStringList names{QStringLiteral("btnCon"), QStringLiteral("btnOkDel"),
                            QStringLiteral("btnOkSave")};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(buttons[i]->text(), captions[i]);
        EXPECT_EQ(buttons[i]->objectName(), names[i]);
        EXPECT_TRUE(buttons[i]->isVisibleTo(p));
        EXPECT_EQ(buttons[i]->width(), 86);
        EXPECT_GE(buttons[i]->y(), TFormShowAlam::ClientHeight - 34);
        if (i > 0) {
            EXPECT_GT(buttons[i]->x(), buttons[i - 1]->geometry().right());
        }
    }
    // Anchored to the right edge.
    EXPECT_LE(p->btnOkSave()->geometry().right(), TFormShowAlam::ClientWidth - 1);
    EXPECT_GE(p->btnOkSave()->geometry().right(), TFormShowAlam::ClientWidth - 12);

    QStringList items, itemNames;
    for (QAction* a : p->pm1()->actions()) {
        items << a->text();
        itemNames << a->objectName();
    }
    EXPECT_EQ(items, (QStringList{"3分钟后再提醒", "5分钟后再提醒", "10分钟后再提醒", "30分钟后再提醒",
                                  "1小时后再提醒"}));
    EXPECT_EQ(itemNames, (QStringList{"N31", "N51", "N101", "N301", "N11"}));
}

TEST_F(ShowAlamTest, ARepeatingReminderOffersOneButtonThatOnlyCloses) {
    QPointer<TFormShowAlam> p = ShowAlamPopup(QStringLiteral("7"), QStringLiteral("每天喝水"), true);
    EXPECT_TRUE(p->Repeating);
    EXPECT_EQ(p->btnOkSave()->text(), QStringLiteral("看到了"));
    EXPECT_TRUE(p->btnOkSave()->isVisibleTo(p));
    EXPECT_FALSE(p->btnOkDel()->isVisibleTo(p));
    EXPECT_FALSE(p->btnCon()->isVisibleTo(p));
    p->btnOkSave()->click();
    DeleteClosedWindows();
    EXPECT_TRUE(p.isNull());
    EXPECT_TRUE(posted.Received().empty());
}

TEST_F(ShowAlamTest, EachAnswerPostsItsMessageWithTheIdAndClosesThePopup) {
    const struct {
        const char* what;
        int snooze; // -1: a button
        int message;
        qintptr lParam;
    } cases[] = {
        {"btnOkSave", -1, WM_ALAMSEEN, 0}, {"btnOkDel", -1, WM_ALAMDELETE, 0}, {"N31", 0, WM_ALAMSNOOZE, 0},
        {"N51", 1, WM_ALAMSNOOZE, 1},      {"N101", 2, WM_ALAMSNOOZE, 2},      {"N301", 3, WM_ALAMSNOOZE, 3},
        {"N11", 4, WM_ALAMSNOOZE, 4},
    };
    qintptr id = 100;
    std::vector<TPosted> expected;
    for (const auto& c : cases) {
        ++id;
        QPointer<TFormShowAlam> p = ShowAlamPopup(QString::number(id), QStringLiteral("开会"), false);
        if (c.snooze < 0) {
            p->findChild<QPushButton*>(QLatin1String(c.what))->click();
        } else {
            p->findChild<QAction*>(QLatin1String(c.what))->trigger();
        }
        EXPECT_FALSE(p && p->isVisible()) << c.what;
        DeleteClosedWindows();
        EXPECT_TRUE(p.isNull()) << c.what;
        // Posted, not sent: it arrives when the main window next handles its messages.
        EXPECT_EQ(posted.Arrived(), expected.size()) << c.what;
        expected.push_back({c.message, id, c.lParam});
        EXPECT_EQ(posted.Received(), expected) << c.what;
    }
}

TEST_F(ShowAlamTest, TheSnoozeButtonOpensItsMenuAndLeavingItKeepsThePopup) {
    TFormShowAlam* p = ShowAlamPopup(QStringLiteral("5"), QStringLiteral("稍后"), false);
    p->btnCon()->click();
    EXPECT_TRUE(p->pm1()->isVisible());
    p->pm1()->hide();
    EXPECT_TRUE(p->isVisible());
    EXPECT_TRUE(posted.Received().empty());
}

TEST_F(ShowAlamTest, ItRollsUpFromItsBottomEdgeIntoTheCornerOfTheAvailableArea) {
    TFormShowAlam* p = ShowAlamPopup(QStringLiteral("1"), QStringLiteral("角落"), false);
    const QRect target = p->TargetGeometry();
    EXPECT_EQ(target.size(), QSize(292, 198));

    QPropertyAnimation* roll = p->RollIn();
    ASSERT_NE(roll, nullptr);
    EXPECT_EQ(roll->duration(), 200);
    EXPECT_EQ(roll->propertyName(), QByteArray("geometry"));
    EXPECT_EQ(roll->endValue().toRect(), target);
    EXPECT_EQ(roll->startValue().toRect().bottom(), target.bottom());
    EXPECT_LE(roll->startValue().toRect().height(), 1);

    roll->setCurrentTime(100);
    const QRect half = p->geometry();
    EXPECT_EQ(half.bottom(), target.bottom());
    EXPECT_EQ(half.left(), target.left());
    EXPECT_GT(half.height(), 1);
    EXPECT_LT(half.height(), target.height());
    // The content stays at the bottom edge while the window grows upwards.
    QWidget* content = p->findChild<QWidget*>(QStringLiteral("pnlContent"));
    ASSERT_NE(content, nullptr);
    EXPECT_EQ(content->geometry().bottom(), half.height() - 1);

    roll->setCurrentTime(200);
    EXPECT_EQ(p->geometry(), target);
    EXPECT_EQ(content->pos(), QPoint(0, 0));
    // The whole frame stands in the available area, 2 pixels from its right and bottom edges.
    const QRect frame = p->frameGeometry();
    EXPECT_TRUE(Available().contains(frame));
    EXPECT_EQ(frame.right(), Available().right() - 2);
    EXPECT_EQ(frame.bottom(), Available().bottom() - 2);
}

TEST_F(ShowAlamTest, ACornerLeavesRoomForTheWindowFrame) {
    const QRect area(0, 0, 1920, 1040);
    EXPECT_EQ(PopupPlace(area, QMargins(4, 24, 4, 4)),
              QRect(1920 - 2 - 4 - 292, 1040 - 2 - 4 - 198, 292, 198));
    EXPECT_EQ(PopupPlace(QRect(100, 30, 800, 600), QMargins()),
              QRect(900 - 2 - 292, 630 - 2 - 198, 292, 198));
}

TEST_F(ShowAlamTest, SeveralPopupsStandAtOnceEachWithItsChime) {
    TFormShowAlam* a = ShowAlamPopup(QStringLiteral("1"), QStringLiteral("一"), false);
    TFormShowAlam* b = ShowAlamPopup(QStringLiteral("2"), QStringLiteral("二"), true);
    TFormShowAlam* c = ShowAlamPopup(QStringLiteral("3"), QStringLiteral("三"), false);
    EXPECT_EQ(OpenPopups().size(), 3);
    EXPECT_NE(a, b);
    EXPECT_EQ(a->TargetGeometry(), b->TargetGeometry());
    EXPECT_EQ(b->TargetGeometry(), c->TargetGeometry());
    EXPECT_EQ(chime.count, 3);
    b->btnOkSave()->click();
    EXPECT_EQ(OpenPopups().size(), 2);
}

TEST(Chime, IsAShortWaveOfOurOwnInTheResources) {
    QFile f(ChimeResource());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << ChimeResource().toStdString();
    const QByteArray wav = f.readAll();
    ASSERT_GT(wav.size(), 44);
    EXPECT_EQ(wav.left(4), QByteArray("RIFF"));
    EXPECT_EQ(wav.mid(8, 8), QByteArray("WAVEfmt "));
    const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(wav.constData() + at); };
    const auto u32 = [&](int at) { return qFromLittleEndian<quint32>(wav.constData() + at); };
    EXPECT_EQ(u16(20), 1); // PCM
    const int channels = u16(22);
    const quint32 rate = u32(24);
    const int bits = u16(34);
    EXPECT_EQ(wav.mid(36, 4), QByteArray("data"));
    const double seconds = double(u32(40)) / (rate * channels * (bits / 8));
    EXPECT_GT(seconds, 0.3);
    EXPECT_LT(seconds, 3.0);
}

TEST(Chime, AnInstalledPlayerTakesThePlaceOfTheSound) {
    int played = 0;
    SetChimePlayer([&] { ++played; });
    PlayChime();
    PlayChime();
    SetChimePlayer({});
    EXPECT_EQ(played, 2);
}
