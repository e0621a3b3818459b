// The real message boxes behind ShowInfo / ShowError / AskYesNo, driven from inside their own loop.
#include "common/MessageBoxes.h"
#include "common/UntPublic.h"
#include "support/GuiTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <functional>

namespace {

struct TSeenBox {
    bool found = false;
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QString defaultButton;
    Qt::WindowModality modality = Qt::NonModal;
    bool closedByAction = false;
};

// Records the box that is open now, then closes it with the given action.
void SeeAndClose(TSeenBox& seen, const std::function<void(QMessageBox*)>& close) {
    WhenModal([&seen, close] {
        auto* box = qobject_cast<QMessageBox*>(ActiveModal());
        if (!box) return;
        seen.found = true;
        seen.caption = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        for (QAbstractButton* b : box->buttons())
            seen.buttons << b->text();
        seen.buttons.sort();
        if (QPushButton* d = box->defaultButton()) seen.defaultButton = d->text();
        seen.modality = box->windowModality();
        close(box);
        seen.closedByAction = !box->isVisible();
        if (box->isVisible()) box->done(QMessageBox::Cancel); // never leave the test waiting
    });
}

void PressKey(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

void PressEnter(QMessageBox* box) {
    PressKey(box, Qt::Key_Return);
}

} // namespace

class MessageBoxesTest : public TEmptyFolderTest {
protected:
    void SetUp() override {
        TEmptyFolderTest::SetUp();
        InstallGuiSeams();
    }
    void TearDown() override {
        SetMessageSink(&messages);
        TEmptyFolderTest::TearDown();
    }
};

TEST_F(MessageBoxesTest, InfoErrorAndPlainCarryTheirCaptionIconAndOneButton) {
    const struct {
        std::function<void()> show;
        const char* caption;
        QMessageBox::Icon icon;
    } cases[] = {
        {[] { ShowInfo(QStringLiteral("进货成功!")); }, "提示", QMessageBox::Information},
        {[] { ShowError(QStringLiteral("进货成功!")); }, "错误", QMessageBox::Critical},
        {[] { ShowPlain(QStringLiteral("进货成功!")); }, "仓库管理软件-Quvaro软件", QMessageBox::NoIcon},
    };
    QCoreApplication::setApplicationName(QStringLiteral("仓库管理软件-Quvaro软件"));
    for (const auto& c : cases) {
        TSeenBox seen;
        SeeAndClose(seen, PressEnter);
        c.show();
        ASSERT_TRUE(seen.found) << c.caption;
        EXPECT_TRUE(seen.closedByAction) << c.caption;
        EXPECT_EQ(seen.caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(seen.text, QStringLiteral("进货成功!"));
        EXPECT_EQ(seen.icon, c.icon) << c.caption;
        EXPECT_EQ(seen.buttons, QStringList{QStringLiteral("确定")}) << c.caption;
        EXPECT_EQ(seen.modality, Qt::ApplicationModal) << c.caption;
    }
}

TEST_F(MessageBoxesTest, ErrorDetailPutsTheDetailOnItsOwnLine) {
    TSeenBox seen;
    SeeAndClose(seen, PressEnter);
    ShowErrorDetail(QStringLiteral("数据库查询错误，请检查！"), QStringLiteral("no such table: Nope"),
                    QString());
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.caption, QStringLiteral("错误"));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.text, QStringLiteral("数据库查询错误，请检查！\r\n详细信息：no such table: Nope"));
}

TEST_F(MessageBoxesTest, QuestionIsYesOnlyWhenYesIsChosen) {
    const struct {
        const char* how;
        std::function<void(QMessageBox*)> close;
        bool expected;
    } cases[] = {
        {"Enter at once", PressEnter, false}, // No is the default button
        {"Esc", [](QMessageBox* b) { PressKey(b, Qt::Key_Escape); }, false},
        {"No", [](QMessageBox* b) { b->button(QMessageBox::No)->click(); }, false},
        {"Yes", [](QMessageBox* b) { b->button(QMessageBox::Yes)->click(); }, true},
    };
    QStringList yesNo{QStringLiteral("是(&Y)"), QStringLiteral("否(&N)")};
    yesNo.sort();
    for (const auto& c : cases) {
        TSeenBox seen;
        SeeAndClose(seen, c.close);
        const bool answer = AskYesNo(QStringLiteral("确定要删除吗？"));
        ASSERT_TRUE(seen.found) << c.how;
        EXPECT_TRUE(seen.closedByAction) << c.how;
        EXPECT_EQ(answer, c.expected) << c.how;
        EXPECT_EQ(seen.caption, QStringLiteral("确认"));
        EXPECT_EQ(seen.text, QStringLiteral("确定要删除吗？"));
        EXPECT_EQ(seen.icon, QMessageBox::Question);
        EXPECT_EQ(seen.buttons, yesNo);
        EXPECT_EQ(seen.defaultButton, QStringLiteral("否(&N)"));
        EXPECT_EQ(seen.modality, Qt::ApplicationModal);
    }
}
