// The main window's maintenance hooks: login at the first show, the settings and maintenance items, the
// autostart box, the reload after a restore or clearing, and the compaction at close.
#include "app/FormMain.h"
#include "app/Startup.h"
#include "controls/CardDBGrid.h"
#include "data/MD.h"
#include "goods/GoodsBrowser.h"
#include "goods/GoodsPage.h"
#include "maint/AutoStart.h"
#include "maint/DataMaint.h"
#include "maint/DataMgr.h"
#include "maint/Pass.h"
#include "maint/UntConfig.h"
#include "notes/NotePage.h"
#include "reminders/AlamCommands.h"
#include "reminders/AlamPage.h"
#include "support/GuiTestSupport.h"
#include "tree/UntTree.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <memory>

namespace {

QStringList Children(QTreeWidget* tv) {
    QStringList out;
    QTreeWidgetItem* root = tv->topLevelItem(0);
    for (int i = 0; root && i < root->childCount(); ++i)
        out << root->child(i)->text(0);
    return out;
}

} // namespace

class FormMainMaintTest : public TDataFileTest {
protected:
    void TearDown() override {
        form.reset();
        TDataFileTest::TearDown();
    }
    void SetPassword(const QString& password) {
        TConfig c;
        c.bPass = true;
        c.PassWord = password;
        c.Save();
    }
    QStringList CompactionLeftovers() {
        return QDir(Dir()).entryList({QStringLiteral("~*")}, QDir::Files | QDir::Hidden);
    }
    std::unique_ptr<TFormMain> form;
};

TEST_F(FormMainMaintTest, NoLoginWithoutAPassword) {
    form = std::make_unique<TFormMain>();
    form->show();
    EXPECT_FALSE(form->LoginRefused());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FormMainMaintTest, TheLoginTakesOnlyTheStoredPassword) {
    SetPassword(QStringLiteral("Abc"));
    QString caption;
    WhenModal([&] {
        auto* pass = qobject_cast<TFormPass*>(ActiveModal());
        ASSERT_NE(pass, nullptr);
        caption = pass->windowTitle();
        pass->edtPass()->setText(QStringLiteral("abc"));
        pass->btnOK()->click();
        pass->edtPass()->setText(QStringLiteral("Abc"));
        pass->btnOK()->click();
    });
    form = std::make_unique<TFormMain>();
    form->show();
    EXPECT_EQ(caption, QStringLiteral("先输入密码登录软件"));
    EXPECT_FALSE(form->LoginRefused());
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("密码输入错误!")});
    EXPECT_TRUE(gConfig->bPass);
}

TEST_F(FormMainMaintTest, CancelAtTheLoginEndsWithoutCompacting) {
    SetPassword(QStringLiteral("x"));
    // something for a compaction to change
    ExecSql(
        QStringLiteral("insert into AlamContext(ReMark) values ('%1')").arg(QString(3000, QLatin1Char('y'))));
    ExecSql(QStringLiteral("delete from AlamContext"));
    gDbAccess->Connection->Checkpoint();
    const QDateTime modified = QFileInfo(DataFile()).lastModified();
    const qint64 size = QFileInfo(DataFile()).size();
    WhenModal([] { qobject_cast<TFormPass*>(ActiveModal())->btnCancel()->click(); });
    form = std::make_unique<TFormMain>();
    form->show();
    EXPECT_TRUE(form->LoginRefused());
    form->close();
    EXPECT_EQ(QFileInfo(DataFile()).size(), size);
    EXPECT_EQ(QFileInfo(DataFile()).lastModified(), modified);
}

TEST_F(FormMainMaintTest, ClosingCompactsTheFileAndLeavesNothingBeside) {
    QStringList batch;
    for (int i = 0; i < 300; ++i)
        batch << QStringLiteral("insert into AlamContext(ReMark) values ('%1')")
                     .arg(QString(300, QLatin1Char('z')));
    ExecSql(batch.join(QLatin1String(BatchSeparator)));
    ExecSql(QStringLiteral("delete from AlamContext"));
    ExecSql(QStringLiteral("insert into Customer(GUID,商品编号) values ('G','C')"));
    gDbAccess->Connection->Checkpoint();
    const qint64 before = QFileInfo(DataFile()).size();
    form = std::make_unique<TFormMain>();
    form->show();
    form->close();
    EXPECT_FALSE(gDbAccess->Connection->Connected());
    EXPECT_LT(QFileInfo(DataFile()).size(), before);
    EXPECT_EQ(CompactionLeftovers(), QStringList());
    gDbAccess->Connect();
    ASSERT_TRUE(gDbAccess->Connection->Connected());
    EXPECT_EQ(QueryInt(QStringLiteral("select count(*) from Customer")), 1);
}

TEST_F(FormMainMaintTest, TheAutostartBoxShowsAndWritesTheEntry) {
    const QString exe = QCoreApplication::applicationFilePath();
    // an entry for another path leaves the box unchecked
    SetAutoStart(AppTitle(), QStringLiteral("/elsewhere/bookkeep"), true);
    form = std::make_unique<TFormMain>();
    form->show();
    EXPECT_FALSE(form->chk1()->isChecked());
    EXPECT_FALSE(IsAutoStart(AppTitle(), exe));
    form->chk1()->click();
    EXPECT_TRUE(IsAutoStart(AppTitle(), exe));
    form->chk1()->click();
    EXPECT_FALSE(QFile::exists(AutoStartFile(AppTitle())));
    form->chk1()->click();
    form.reset();

    // at the next start the box is checked
    form = std::make_unique<TFormMain>();
    form->show();
    EXPECT_TRUE(form->chk1()->isChecked());
    EXPECT_TRUE(IsAutoStart(AppTitle(), exe));
}

TEST_F(FormMainMaintTest, TheSettingsItemOpensTheSettingsDialog) {
    QString title;
    WhenModal([&] {
        QWidget* w = ActiveModal();
        title = w ? w->windowTitle() : QString();
        if (w) w->close();
    });
    form = std::make_unique<TFormMain>();
    form->show();
    form->N15()->trigger();
    EXPECT_EQ(title, QStringLiteral("软件设置"));
}

TEST_F(FormMainMaintTest, AfterARestoreEveryPageShowsTheRestoredFile) {
    ExecSql(QStringLiteral("insert into CustomerType(SelfIndex,ParentIndex,TypeName) values (1,0,'饮料')@#@"
                           "insert into Customer(GUID,TypeID,商品编号,商品名称) values ('G1',1,'C1','茶')@#@"
                           "insert into NoteType(SelfIndex,ParentIndex,TypeName) values (1,0,'旧分类')@#@"
                           "insert into NoteBook(TypeID,ReMark) values (0,'旧记事')@#@"
                           "insert into Alam(iHour,iMinute,iMonWeek,ReDay,ReMark) values (8,0,0,1,'开门')"));
    const QString backup = Dir() + QStringLiteral("b.dat");
    BackupData(backup);

    form = std::make_unique<TFormMain>();
    form->show();
    // The user works on after the backup: a new group, new goods, a changed note.
    ExecSql(QStringLiteral("insert into CustomerType(SelfIndex,ParentIndex,TypeName) values (2,0,'零食')@#@"
                           "insert into Customer(GUID,TypeID,商品编号,商品名称) values ('G2',2,'C2','饼')"));
    form->GoodsTree->LoadGroups();
    form->GoodsBrowser->QueryGoods();
    form->ts2()->mmoNote()->setPlainText(QStringLiteral("新记事"));
    ExecSql(QStringLiteral("delete from Alam"));
    form->Alams->Refill();
    ASSERT_EQ(form->ts3()->lv1()->topLevelItemCount(), 0);
    ASSERT_EQ(Rows(QStringLiteral("select ReMark from NoteBook where TypeID=0")),
              QStringList{QStringLiteral("新记事")});

    messages.QueueAnswer(true);
    dialogs.QueueFileName(backup);
    WhenModal([] { qobject_cast<TFormDataMgr*>(ActiveModal())->btnAdd()->click(); });
    form->N8()->trigger();

    EXPECT_EQ(Children(form->ts1()->tv1()), QStringList{QStringLiteral("饮料")});
    EXPECT_EQ(form->GoodsBrowser->DBGrid1()->model()->rowCount(), 1);
    EXPECT_EQ(Children(form->ts2()->tvNote()), QStringList{QStringLiteral("旧分类")});
    EXPECT_EQ(form->ts2()->mmoNote()->toPlainText(), QStringLiteral("旧记事"));
    ASSERT_EQ(form->ts3()->lv1()->topLevelItemCount(), 1);
    EXPECT_EQ(form->ts3()->lv1()->topLevelItem(0)->text(3), QStringLiteral("开门"));
    // typing afterwards keeps the restored note and adds to it
    form->ts2()->mmoNote()->appendPlainText(QStringLiteral("再写"));
    EXPECT_EQ(Rows(QStringLiteral("select ReMark from NoteBook where TypeID=0")),
              QStringList{QStringLiteral("旧记事\n再写")});
}

TEST_F(FormMainMaintTest, AfterClearingTheGoodsPageIsEmpty) {
    ExecSql(QStringLiteral("insert into CustomerType(SelfIndex,ParentIndex,TypeName) values (1,0,'饮料')@#@"
                           "insert into Customer(GUID,TypeID,商品编号,商品名称) values ('G1',1,'C1','茶')"));
    form = std::make_unique<TFormMain>();
    form->show();
    form->ts1()->tv1()->setCurrentItem(form->GoodsTree->RootNode->child(0));
    ASSERT_EQ(form->GoodsBrowser->DBGrid1()->model()->rowCount(), 1);
    messages.QueueAnswer(true);
    WhenModal([] { qobject_cast<TFormDataMgr*>(ActiveModal())->Button1()->click(); });
    form->N8()->trigger();
    EXPECT_EQ(Children(form->ts1()->tv1()), QStringList());
    EXPECT_EQ(form->GoodsTree->Selected(), form->GoodsTree->RootNode);
    EXPECT_EQ(form->GoodsBrowser->DBGrid1()->model()->rowCount(), 0);
}
