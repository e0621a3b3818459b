// The dialog base: Enter runs the dialog's handler, a refusal keeps the dialog and its input, Esc cancels.
#include "common/BaseDlg.h"
#include "common/UException.h"
#include "common/WindowMessages.h"
#include "support/GuiTestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// A dialog that takes a whole number and refuses anything else.
class TNumberDlg : public TFormBaseDlg {
public:
    TNumberDlg() {
        setWindowTitle(QStringLiteral("数量"));
        edtNumber = new QLineEdit(pnlClient());
        edtNumber->setObjectName(QStringLiteral("edtNumber"));
        auto* layout = new QVBoxLayout(pnlClient());
        layout->addWidget(edtNumber);
    }
    QLineEdit* edtNumber;
    int handlerRuns = 0;
    int accepted = -1;

protected:
    void btnOKClick() override {
        ++handlerRuns;
        bool ok = false;
        const int n = edtNumber->text().toInt(&ok);
        if (!ok) throw EAppError(QStringLiteral("请输入整数！"));
        accepted = n;
        accept();
    }
};

void PressKey(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

} // namespace

class BaseDlgTest : public TDataFileTest {};

TEST_F(BaseDlgTest, FrameButtonsAndTitleBar) {
    TNumberDlg dlg;
    EXPECT_EQ(dlg.btnOK()->text(), QStringLiteral("确定(&O)"));
    EXPECT_EQ(dlg.btnCancel()->text(), QStringLiteral("取消(&C)"));
    EXPECT_EQ(dlg.findChild<QPushButton*>(QStringLiteral("btnOK")), dlg.btnOK());
    EXPECT_EQ(dlg.findChild<QPushButton*>(QStringLiteral("btnCancel")), dlg.btnCancel());
    EXPECT_TRUE(dlg.btnOK()->isDefault());
    EXPECT_EQ(dlg.pnlBottom()->height(), 34);
    const Qt::WindowFlags flags = dlg.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowContextHelpButtonHint));
    // Both buttons at the right end of the bottom bar, OK before Cancel.
    dlg.resize(420, 200);
    dlg.show();
    QApplication::processEvents();
    const int right = dlg.pnlBottom()->width();
    EXPECT_GT(dlg.btnCancel()->x(), dlg.btnOK()->x());
    EXPECT_GE(dlg.btnCancel()->geometry().right(), right - 20);
    EXPECT_GT(dlg.btnOK()->x(), right / 2);
    dlg.close();
}

TEST_F(BaseDlgTest, EnterRunsTheHandlerWhichMayRefuseAndThenAccept) {
    TNumberDlg dlg;
    struct {
        bool openAfterRefusal = false;
        QString inputAfterRefusal;
        QStringList messagesAfterRefusal;
    } seen;
    WhenModal([&] {
        dlg.edtNumber->setText(QStringLiteral("abc"));
        PressKey(dlg.edtNumber, Qt::Key_Return);
        seen.openAfterRefusal = dlg.isVisible();
        seen.inputAfterRefusal = dlg.edtNumber->text();
        seen.messagesAfterRefusal = messages.Texts();
        dlg.edtNumber->setText(QStringLiteral("42"));
        PressKey(dlg.edtNumber, Qt::Key_Enter); // the keypad's Enter as well
        if (dlg.isVisible()) dlg.done(-1);      // keep the test from waiting when Enter did nothing
    });
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_EQ(dlg.handlerRuns, 2);
    EXPECT_TRUE(seen.openAfterRefusal);
    EXPECT_EQ(seen.inputAfterRefusal, QStringLiteral("abc"));
    EXPECT_EQ(seen.messagesAfterRefusal, QStringList{QStringLiteral("请输入整数！")});
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, QStringLiteral("错误"));
    EXPECT_EQ(dlg.accepted, 42);
}

TEST_F(BaseDlgTest, EscapeAndCancelCloseWithCancelWithoutTheHandler) {
    const struct {
        const char* how;
        std::function<void(TNumberDlg&)> close;
    } cases[] = {
        {"Esc", [](TNumberDlg& d) { PressKey(d.edtNumber, Qt::Key_Escape); }},
        {"取消", [](TNumberDlg& d) { d.btnCancel()->click(); }},
    };
    for (const auto& c : cases) {
        TNumberDlg dlg;
        WhenModal([&] {
            dlg.edtNumber->setText(QStringLiteral("7"));
            c.close(dlg);
            if (dlg.isVisible()) dlg.done(-1);
        });
        EXPECT_EQ(dlg.exec(), QDialog::Rejected) << c.how;
        EXPECT_EQ(dlg.handlerRuns, 0) << c.how;
        EXPECT_EQ(dlg.accepted, -1) << c.how;
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(BaseDlgTest, BaseHandlerAloneNeverCloses) {
    TFormBaseDlg dlg;
    bool stillOpen = false;
    WhenModal([&] {
        dlg.btnOK()->click();
        stillOpen = dlg.isVisible();
        dlg.reject();
    });
    EXPECT_EQ(dlg.exec(), QDialog::Rejected);
    EXPECT_TRUE(stillOpen);
}

TEST_F(BaseDlgTest, OpensCentredOnTheMainWindow) {
    QWidget main;
    main.setGeometry(60, 40, 1000, 700);
    main.show();
    MainWindowTarget() = &main;
    QPoint centre;
    {
        TNumberDlg dlg;
        EXPECT_EQ(dlg.parentWidget(), &main); // the main window owns it
        dlg.show();
        QApplication::processEvents();
        centre = dlg.frameGeometry().center();
        dlg.close();
    }
    MainWindowTarget() = nullptr;
    EXPECT_EQ(centre, main.frameGeometry().center());
}
