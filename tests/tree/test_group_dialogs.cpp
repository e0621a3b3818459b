#include "data/MD.h"
#include "support/GuiTestSupport.h"
#include "tree/AddType.h"
#include "tree/UntTree.h"
#include "tree/ViewCustomerType.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>

namespace {
class GroupDialogTest : public TDataFileTest {
protected:
    void Insert(int self, int parent, const QString& name) {
        ExecSql(QStringLiteral("insert into CustomerType(SelfIndex,ParentIndex,TypeName) values (%1,%2,'%3')")
                    .arg(QString::number(self), QString::number(parent), QuotedSql(name)));
    }
    static void PressCtrl(QWidget* w, Qt::Key key, Qt::KeyboardModifiers extra = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier | extra);
        QApplication::sendEvent(w, &press);
    }
    static QTreeWidgetItem* Find(QTreeWidget* view, const QString& name) {
        const auto found = view->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }
};
} // namespace

TEST_F(GroupDialogTest, OkHandsBackTheNameAsTyped) {
    struct Case {
        QString typed;
    };
    const Case cases[] = {{QStringLiteral("饮料")}, {QStringLiteral(" 饮料 ")}, {QStringLiteral("Men's")}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        QString shownPosition;
        bool posReadOnly = false;
        WhenModal([&] {
            auto* dialog = qobject_cast<TFormAddType*>(ActiveModal());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("新建组"));
            shownPosition = dialog->edtPos->text();
            posReadOnly = dialog->edtPos->isReadOnly();
            dialog->edtName->setText(c.typed);
            dialog->btnOK()->click();
        });
        QString name = QStringLiteral("old");
        EXPECT_EQ(ShowNewGroupDialog(QStringLiteral("全部商品->饮料"), name), QDialog::Accepted);
        EXPECT_EQ(name, c.typed);
        EXPECT_EQ(shownPosition, QStringLiteral("全部商品->饮料"));
        EXPECT_TRUE(posReadOnly);
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(GroupDialogTest, BlankNameIsRefusedAndCancelGivesNoName) {
    bool stillOpen = false;
    WhenModal([&] {
        auto* dialog = qobject_cast<TFormAddType*>(ActiveModal());
        ASSERT_NE(dialog, nullptr);
        dialog->edtName->setText(QStringLiteral("  \t "));
        dialog->btnOK()->click();
        stillOpen = dialog->isVisible() && ActiveModal() == dialog;
        dialog->btnCancel()->click();
    });
    QString name = QStringLiteral("old");
    EXPECT_EQ(ShowNewGroupDialog(QStringLiteral("根目录"), name), QDialog::Rejected);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(name.isEmpty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, TMessageKind::Info);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("名称不能为空!"));
}

TEST_F(GroupDialogTest, CtrlDAndCtrlTInsertDateAndTimeAtTheCaret) {
    const QDateTime moment(QDate(2024, 3, 5), QTime(14, 7, 9));
    SetNow(moment);
    const QString date = QLocale::system().toString(moment.date(), QLocale::ShortFormat);
    TFormAddType dialog;
    QLineEdit* edit = dialog.edtName;
    edit->setText(QStringLiteral("进货XX批"));
    edit->setSelection(2, 2); // "XX"
    PressCtrl(edit, Qt::Key_D);
    EXPECT_EQ(edit->text(), QStringLiteral("进货") + date + QStringLiteral("批"));

    edit->setText(QStringLiteral("A"));
    edit->setCursorPosition(1);
    PressCtrl(edit, Qt::Key_T, Qt::ShiftModifier); // other modifiers may be held too
    const QString text = edit->text();
    EXPECT_TRUE(text.startsWith(QStringLiteral("A") + date + QLatin1Char(' '))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("07:09")) || text.contains(QStringLiteral("7:09")))
        << text.toStdString();

    // Without Ctrl the letter is typed.
    edit->setText(QString());
    QKeyEvent plain(QEvent::KeyPress, Qt::Key_D, Qt::NoModifier, QStringLiteral("d"));
    QApplication::sendEvent(edit, &plain);
    EXPECT_EQ(edit->text(), QStringLiteral("d"));
}

TEST_F(GroupDialogTest, PickingTheRootGivesNoGroup) {
    Insert(1, 0, QStringLiteral("饮料"));
    WhenModal([&] {
        auto* picker = qobject_cast<TFormViewCustomerType*>(ActiveModal());
        ASSERT_NE(picker, nullptr);
        EXPECT_EQ(picker->windowTitle(), QStringLiteral("选择组"));
        EXPECT_EQ(picker->tv1->topLevelItem(0)->text(0), QStringLiteral("全部"));
        EXPECT_TRUE(picker->tv1->topLevelItem(0)->isExpanded());
        picker->tv1->setCurrentItem(picker->tv1->topLevelItem(0));
        picker->btnOK()->click();
    });
    int index = -1;
    QString text = QStringLiteral("old");
    EXPECT_EQ(PickGroup(index, text), QDialog::Accepted);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(text, QStringLiteral("未分组"));
}

TEST_F(GroupDialogTest, OkWithoutSelectionKeepsThePickerOpen) {
    Insert(1, 0, QStringLiteral("饮料"));
    Insert(2, 1, QStringLiteral("果汁"));
    bool stillOpen = false;
    WhenModal([&] {
        auto* picker = qobject_cast<TFormViewCustomerType*>(ActiveModal());
        ASSERT_NE(picker, nullptr);
        picker->btnOK()->click();
        stillOpen = ActiveModal() == picker;
        // A double click picks like OK.
        picker->tv1->expandAll();
        QTreeWidgetItem* juice = Find(picker->tv1, QStringLiteral("果汁"));
        ASSERT_NE(juice, nullptr);
        picker->tv1->setCurrentItem(juice);
        emit picker->tv1->itemDoubleClicked(juice, 0);
    });
    int index = -1;
    QString text;
    EXPECT_EQ(PickGroup(index, text), QDialog::Accepted);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(text, QStringLiteral("果汁"));
}

TEST_F(GroupDialogTest, GroupMadeInThePickerCanBePickedAndOutlivesCancel) {
    Insert(1, 0, QStringLiteral("饮料"));
    WhenModal([&] {
        auto* picker = qobject_cast<TFormViewCustomerType*>(ActiveModal());
        ASSERT_NE(picker, nullptr);
        picker->tv1->setCurrentItem(Find(picker->tv1, QStringLiteral("饮料")));
        WhenModal([&] {
            auto* dialog = qobject_cast<TFormAddType*>(ActiveModal());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->edtPos->text(), QStringLiteral("全部->饮料"));
            dialog->edtName->setText(QStringLiteral("Men's"));
            dialog->btnOK()->click();
        });
        picker->btn1->click();
        picker->btnOK()->click();
    });
    int index = -1;
    QString text;
    EXPECT_EQ(PickGroup(index, text), QDialog::Accepted);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(text, QStringLiteral("Men's"));
    EXPECT_EQ(
        Rows(QStringLiteral("select SelfIndex,ParentIndex,TypeName from CustomerType where SelfIndex=2")),
        QStringList{QStringLiteral("2|1|Men's")});

    // Made, then cancelled: the group stays, and nothing is handed back.
    WhenModal([&] {
        auto* picker = qobject_cast<TFormViewCustomerType*>(ActiveModal());
        ASSERT_NE(picker, nullptr);
        picker->tv1->setCurrentItem(picker->tv1->topLevelItem(0));
        WhenModal([&] {
            auto* dialog = qobject_cast<TFormAddType*>(ActiveModal());
            ASSERT_NE(dialog, nullptr);
            dialog->edtName->setText(QStringLiteral("零食"));
            dialog->btnOK()->click();
        });
        picker->btn1->click();
        picker->btnCancel()->click();
    });
    index = -1;
    EXPECT_EQ(PickGroup(index, text), QDialog::Rejected);
    EXPECT_EQ(index, -1);
    EXPECT_TRUE(text.isEmpty());
    EXPECT_EQ(Rows(QStringLiteral("select SelfIndex,ParentIndex from CustomerType where TypeName='零食'")),
              QStringList{QStringLiteral("3|0")});
}

TEST_F(GroupDialogTest, NewGroupWithNothingSelectedInThePickerDoesNothing) {
    bool dialogShown = false;
    WhenModal([&] {
        auto* picker = qobject_cast<TFormViewCustomerType*>(ActiveModal());
        ASSERT_NE(picker, nullptr);
        picker->tv1->clearSelection();
        picker->tv1->setCurrentItem(nullptr);
        WhenModal([&] {
            if (auto* dialog = qobject_cast<TFormAddType*>(ActiveModal())) {
                dialogShown = true;
                dialog->reject();
            }
        });
        picker->btn1->click();
        picker->btnCancel()->click();
    });
    int index = 0;
    QString text;
    EXPECT_EQ(PickGroup(index, text), QDialog::Rejected);
    QCoreApplication::processEvents();
    EXPECT_FALSE(dialogShown);
    EXPECT_EQ(QueryInt(QStringLiteral("select count(*) from CustomerType")), 1);
}

TEST_F(GroupDialogTest, AnExistingNameMadeInThePickerIsRefusedAndThePickerStaysOpen) {
    Insert(1, 0, QStringLiteral("饮料"));
    Insert(2, 1, QStringLiteral("果汁"));
    bool stillOpen = false;
    WhenModal([&] {
        auto* picker = qobject_cast<TFormViewCustomerType*>(ActiveModal());
        ASSERT_NE(picker, nullptr);
        picker->tv1->setCurrentItem(picker->tv1->topLevelItem(0));
        WhenModal([&] {
            auto* dialog = qobject_cast<TFormAddType*>(ActiveModal());
            ASSERT_NE(dialog, nullptr);
            dialog->edtName->setText(QStringLiteral("果汁")); // a name one level further down
            dialog->btnOK()->click();
        });
        picker->btn1->click();
        stillOpen = ActiveModal() == picker;
        EXPECT_EQ(picker->tv1->topLevelItem(0)->childCount(), 1);
        picker->btnCancel()->click();
    });
    int index = -1;
    QString text;
    EXPECT_EQ(PickGroup(index, text), QDialog::Rejected);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("该名称已经存在，请重新输入！")});
    EXPECT_EQ(QueryInt(QStringLiteral("select count(*) from CustomerType where SelfIndex<>0")), 2);
}
