// The data maintenance dialog, the password dialog and the settings dialog, driven from inside their loops.
#include "common/UException.h"
#include "data/MD.h"
#include "maint/Config.h"
#include "maint/DataMaint.h"
#include "maint/DataMgr.h"
#include "maint/ImportPage.h"
#include "maint/Pass.h"
#include "maint/UntConfig.h"
#include "support/GuiTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace {

template <class T> T* Modal() {
    return qobject_cast<T*>(ActiveModal());
}

} // namespace

class DataMgrTest : public TDataFileTest {
protected:
    void SetUp() override {
        TDataFileTest::SetUp();
        ExecSql(
            QStringLiteral("insert into Customer(GUID,商品编号) values ('G1','C1')@#@"
                           "insert into CustomerType(SelfIndex,ParentIndex,TypeName) values (1,0,'饮料')"));
    }
    int Count(const char* table) {
        return QueryInt(QStringLiteral("select count(*) from %1").arg(QLatin1String(table)));
    }
    // Runs the dialog; action runs inside its loop with the dialog, and closes it unless it closed itself.
    bool Run(const std::function<void(TFormDataMgr*)>& action) {
        WhenModal([&] {
            TFormDataMgr* form = Modal<TFormDataMgr>();
            if (!form) {
                ADD_FAILURE() << "no dialog";
                return;
            }
            action(form);
            if (form->isVisible()) form->reject();
        });
        return ShowDataMgr();
    }
    bool LogWritten() { return !QDir(Dir()).entryList({QStringLiteral("Log*.log")}).isEmpty(); }
};

TEST_F(DataMgrTest, PagesCaptionAndSize) {
    Run([](TFormDataMgr* form) {
        EXPECT_EQ(form->windowTitle(), QStringLiteral("数据维护"));
        EXPECT_EQ(form->size(), QSize(392, 266));
        QTabWidget* pages = form->PageControl1();
        ASSERT_EQ(pages->count(), 4);
        EXPECT_EQ(pages->tabText(0), QStringLiteral("数据备份"));
        EXPECT_EQ(pages->tabText(1), QStringLiteral("数据恢复"));
        EXPECT_EQ(pages->tabText(2), QStringLiteral("数据清除"));
        EXPECT_EQ(pages->tabText(3), QStringLiteral("数据导入"));
        EXPECT_EQ(pages->widget(3), form->ImportPage());
        EXPECT_EQ(form->btnSave()->text(), QStringLiteral("备份"));
        EXPECT_EQ(form->btnAdd()->text(), QStringLiteral("恢复"));
        EXPECT_EQ(form->Button1()->text(), QStringLiteral("清除"));
        auto* note = pages->widget(2)->findChild<QLabel*>();
        ASSERT_NE(note, nullptr);
        EXPECT_EQ(note->text(), QStringLiteral("此操作将清除系统所有数据,慎用!"));
        // prepared at show: the import page lists the goods fields
        EXPECT_EQ(form->ImportPage()->GroupIndex(), 0);
    });
}

TEST_F(DataMgrTest, BackupStaysOpenAndChangesNothing) {
    dialogs.QueueFileName(Dir() + QStringLiteral("周一"));
    const bool changed = Run([&](TFormDataMgr* form) {
        form->btnSave()->click();
        EXPECT_TRUE(form->isVisible());
        // cancelled: nothing happens
        form->btnSave()->click();
    });
    EXPECT_FALSE(changed);
    EXPECT_EQ(dialogs.filters.value(0), QStringLiteral("数据文件 (*.dat)"));
    EXPECT_TRUE(QFile::exists(Dir() + QStringLiteral("周一.dat")));
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("备份成功!")});
    EXPECT_FALSE(LogWritten());
}

TEST_F(DataMgrTest, NoToEitherQuestionChangesNothing) {
    const bool changed = Run([&](TFormDataMgr* form) {
        form->btnAdd()->click();
        form->Button1()->click();
        EXPECT_TRUE(form->isVisible());
    });
    EXPECT_FALSE(changed);
    EXPECT_EQ(messages.Texts(), (QStringList{RestoreQuestion(), ClearQuestion()}));
    EXPECT_EQ(messages.shown[0].kind, TMessageKind::Question);
    EXPECT_TRUE(dialogs.captions.isEmpty()); // no file was asked for
    EXPECT_EQ(Count("Customer"), 1);
    EXPECT_FALSE(QFile::exists(SafetyCopyPath()));
    EXPECT_FALSE(LogWritten());
}

TEST_F(DataMgrTest, RestoreClosesTheDialogAndReportsTheChange) {
    BackupData(Dir() + QStringLiteral("b.dat"));
    ExecSql(QStringLiteral("delete from Customer"));
    messages.QueueAnswer(true);
    dialogs.QueueFileName(Dir() + QStringLiteral("b.dat"));
    bool stillOpen = true;
    const bool changed = Run([&](TFormDataMgr* form) {
        form->btnAdd()->click();
        stillOpen = form->isVisible();
    });
    EXPECT_FALSE(stillOpen);
    EXPECT_TRUE(changed);
    EXPECT_EQ(Count("Customer"), 1);
    EXPECT_EQ(messages.Texts(), (QStringList{RestoreQuestion(), QStringLiteral("数据恢复成功!")}));
}

TEST_F(DataMgrTest, ARefusedRestoreShowsTheErrorAndKeepsTheDialogOpen) {
    QFile f(Dir() + QStringLiteral("x.dat"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not ours");
    f.close();
    messages.QueueAnswer(true);
    dialogs.QueueFileName(Dir() + QStringLiteral("x.dat"));
    bool stillOpen = false;
    const bool changed = Run([&](TFormDataMgr* form) {
        form->btnAdd()->click();
        stillOpen = form->isVisible();
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_FALSE(changed);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].kind, TMessageKind::Error);
    EXPECT_TRUE(messages.shown[1].text.startsWith(QStringLiteral("数据库恢复失败！\r\n详细信息：")));
    EXPECT_TRUE(gDbAccess->Connection->Connected());
    EXPECT_EQ(Count("Customer"), 1);
    EXPECT_FALSE(LogWritten());
}

TEST_F(DataMgrTest, ClearingClosesTheDialogAndReportsTheChange) {
    messages.QueueAnswer(true);
    bool stillOpen = true;
    const bool changed = Run([&](TFormDataMgr* form) {
        form->Button1()->click();
        stillOpen = form->isVisible();
    });
    EXPECT_FALSE(stillOpen);
    EXPECT_TRUE(changed);
    EXPECT_EQ(Count("Customer"), 0);
    EXPECT_EQ(Count("CustomerType"), 0);
    EXPECT_TRUE(QFile::exists(SafetyCopyPath()));
    EXPECT_EQ(messages.Texts(), (QStringList{ClearQuestion(), QStringLiteral("清除成功!")}));
}

class PassTest : public TDataFileTest {};

TEST_F(PassTest, AsksUntilTheExactPasswordOrCancel) {
    const struct {
        const char* caption;
        const char* shown;
    } captions[] = {{"", "请输入密码"}, {"先输入密码登录软件", "先输入密码登录软件"}};
    for (const auto& c : captions) {
        messages.Clear();
        QString title;
        bool openAfterWrong = false;
        WhenModal([&] {
            auto* form = Modal<TFormPass>();
            ASSERT_NE(form, nullptr);
            title = form->windowTitle();
            EXPECT_EQ(form->size(), QSize(300, 160));
            EXPECT_EQ(form->edtPass()->echoMode(), QLineEdit::Password);
            EXPECT_EQ(form->focusWidget(), form->edtPass());
            for (const char* wrong : {"secret", "Secret ", "secre"}) {
                form->edtPass()->setText(QString::fromUtf8(wrong));
                form->btnOK()->click();
            }
            openAfterWrong = form->isVisible();
            EXPECT_EQ(form->edtPass()->text(), QStringLiteral("secre")); // the typed text stays
            form->edtPass()->setText(QStringLiteral("Secret"));
            form->btnOK()->click();
        });
        EXPECT_EQ(ShowPasswordDialog(QStringLiteral("Secret"), QString::fromUtf8(c.caption)),
                  QDialog::Accepted);
        EXPECT_EQ(title, QString::fromUtf8(c.shown));
        EXPECT_TRUE(openAfterWrong);
        EXPECT_EQ(messages.Texts(), QStringList(3, QStringLiteral("密码输入错误!")));
        EXPECT_EQ(messages.shown[0].kind, TMessageKind::Error);
    }
    WhenModal([] { Modal<TFormPass>()->btnCancel()->click(); });
    EXPECT_EQ(ShowPasswordDialog(QStringLiteral("x"), QString()), QDialog::Rejected);
    WhenModal([] { Modal<TFormPass>()->close(); });
    EXPECT_EQ(ShowPasswordDialog(QStringLiteral("x"), QString()), QDialog::Rejected);
    // an empty expected password takes an empty entry
    WhenModal([] { Modal<TFormPass>()->btnOK()->click(); });
    EXPECT_EQ(ShowPasswordDialog(QString(), QString()), QDialog::Accepted);
}

class ConfigDialogTest : public TDataFileTest {
protected:
    void SetUp() override {
        TDataFileTest::SetUp();
        gConfig->Load();
    }
    void Store(bool on, const QString& password) {
        TConfig c;
        c.bPass = on;
        c.PassWord = password;
        c.Save();
        gConfig->Load();
    }
    QStringList Stored() { return Rows(QStringLiteral("select bPass,PassWord from SysSet")); }
    // Runs the settings dialog; action gets it inside its loop; a dialog still open afterwards is cancelled.
    int Run(const std::function<void(TFormConfig*)>& action) {
        WhenModal([&] {
            auto* form = Modal<TFormConfig>();
            if (!form) {
                ADD_FAILURE() << "no dialog";
                return;
            }
            action(form);
            if (form->isVisible()) form->btnCancel()->click();
        });
        return ShowConfigDialog();
    }
    static void Type(TFormConfig* form, const QString& a, const QString& b) {
        form->edtPass()->setText(a);
        form->edtRePass()->setText(b);
    }
};

TEST_F(ConfigDialogTest, OpensWithTheStoredSettings) {
    Run([](TFormConfig* form) {
        EXPECT_EQ(form->windowTitle(), QStringLiteral("软件设置"));
        EXPECT_EQ(form->size(), QSize(290, 231));
        EXPECT_EQ(form->chkPass()->text(), QStringLiteral("登录需输入密码"));
        EXPECT_FALSE(form->chkPass()->isChecked());
        EXPECT_FALSE(form->edtPass()->isEnabled());
        EXPECT_EQ(form->edtRePass()->echoMode(), QLineEdit::Password);
    });
    Store(true, QStringLiteral("abc"));
    Run([](TFormConfig* form) {
        EXPECT_TRUE(form->chkPass()->isChecked());
        EXPECT_TRUE(form->edtPass()->isEnabled());
        EXPECT_EQ(form->edtPass()->text(), QStringLiteral("abc"));
        EXPECT_EQ(form->edtRePass()->text(), QStringLiteral("abc"));
        form->chkPass()->click();
        EXPECT_FALSE(form->edtPass()->isEnabled());
        EXPECT_TRUE(form->edtPass()->text().isEmpty());
        form->chkPass()->click();
        EXPECT_EQ(form->edtRePass()->text(), QStringLiteral("abc"));
    });
}

TEST_F(ConfigDialogTest, AFirstPasswordIsSavedWithoutAskingForAnOldOne) {
    const int result = Run([&](TFormConfig* form) {
        form->chkPass()->click();
        Type(form, QStringLiteral("   "), QStringLiteral("   "));
        form->btnOK()->click();
        Type(form, QStringLiteral("it's 1"), QStringLiteral("it's 2"));
        form->btnOK()->click();
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(form->focusWidget(), form->edtPass());
        Type(form, QStringLiteral(" it's"), QStringLiteral(" it's"));
        form->btnOK()->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(messages.Texts(), (QStringList{QStringLiteral("密码不能为空!"),
                                             QStringLiteral("两次输入的密码不一样,请重新输入!")}));
    EXPECT_EQ(Stored(), QStringList{QStringLiteral("-1| it's")});
    EXPECT_TRUE(gConfig->bPass);
    EXPECT_EQ(gConfig->PassWord, QStringLiteral(" it's"));
}

TEST_F(ConfigDialogTest, ChangingThePasswordAsksForTheOldOne) {
    Store(true, QStringLiteral("old"));
    QStringList captions;
    // first the old password is not confirmed: nothing is saved, the dialog stays; then it is
    const int result = Run([&](TFormConfig* form) {
        Type(form, QStringLiteral("new"), QStringLiteral("new"));
        WhenModal([&] {
            auto* pass = Modal<TFormPass>();
            captions << pass->windowTitle();
            pass->btnCancel()->click();
        });
        form->btnOK()->click();
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(Stored(), QStringList{QStringLiteral("-1|old")});
        WhenModal([&] {
            auto* pass = Modal<TFormPass>();
            captions << pass->windowTitle();
            pass->edtPass()->setText(QStringLiteral("old"));
            pass->btnOK()->click();
        });
        form->btnOK()->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(captions, QStringList(2, QStringLiteral("请先输入旧密码")));
    EXPECT_EQ(Stored(), QStringList{QStringLiteral("-1|new")});
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ConfigDialogTest, TurningThePasswordOffAsksForItAndStoresNothing) {
    Store(true, QStringLiteral("old"));
    QString caption;
    Run([&](TFormConfig* form) {
        form->chkPass()->click();
        WhenModal([&] {
            auto* pass = Modal<TFormPass>();
            caption = pass->windowTitle();
            pass->edtPass()->setText(QStringLiteral("old"));
            pass->btnOK()->click();
        });
        form->btnOK()->click();
    });
    EXPECT_EQ(caption, QStringLiteral("请先输入密码才可以取消登录密码"));
    EXPECT_EQ(Stored(), QStringList{QStringLiteral("0|")});
    EXPECT_FALSE(gConfig->bPass);
}

TEST_F(ConfigDialogTest, CancelAndAFailedSaveLeaveTheSettingsAsTheyWere) {
    Store(true, QStringLiteral("old"));
    Run([&](TFormConfig* form) {
        Type(form, QStringLiteral("old"), QStringLiteral("old"));
        form->chkPass()->click();
        form->btnCancel()->click();
    });
    EXPECT_TRUE(gConfig->bPass);
    EXPECT_EQ(Stored(), QStringList{QStringLiteral("-1|old")});

    // the same password again needs no confirmation; the save fails
    ExecSql(QStringLiteral("drop table SysSet"));
    bool stillOpen = false;
    Run([&](TFormConfig* form) {
        form->btnOK()->click();
        stillOpen = form->isVisible();
    });
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.startsWith(QStringLiteral("数据库操作失败！")));
    EXPECT_TRUE(gConfig->bPass);
    EXPECT_EQ(gConfig->PassWord, QStringLiteral("old"));
}
