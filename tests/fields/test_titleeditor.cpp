#include "data/MD.h"
#include "fields/AddTitle.h"
#include "fields/ModTitle.h"
#include "support/GuiTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// The first line of the last message box, or "" when none was shown.
QString LastMessage(const TRecordingMessages& m) {
    if (m.shown.empty()) return QString();
    return m.shown.back().text.section(QStringLiteral("\r\n"), 0, 0);
}

} // namespace

class TitleDialogTest : public TDataFileTest {
protected:
    // Fills a new-mode editor and presses OK; returns the message shown ("" when it saved and closed).
    QString SaveNew(const QString& name, int kind = 0, const QString& values = QString(), bool bt = false,
                    bool wy = false) {
        TFormAddTitle dlg;
        dlg.edtName->setText(name);
        dlg.cbbType->setCurrentIndex(kind);
        if (kind == tkList)
            dlg.mmomrz->setPlainText(values);
        else
            dlg.edtmrz->setText(values);
        dlg.chkbt->setChecked(bt);
        dlg.chkwy->setChecked(wy);
        messages.Clear();
        dlg.btnOK()->click();
        const QString msg = LastMessage(messages);
        EXPECT_EQ(dlg.result() == QDialog::Accepted, msg.isEmpty()) << name.toStdString();
        return msg;
    }
};

TEST_F(TitleDialogTest, NewModeNameTable) {
    ASSERT_EQ(SaveNew("颜色"), QString());
    const QString ident = QStringLiteral("标题名称只能包含文字、字母、数字和下划线，且不能以数字开头！");
    struct Case {
        QString name;
        QString message;
    } cases[] = {
        {"", "标题名不能为空！"},
        {"   ", "标题名不能为空！"},
        {"姓名", "标题名称不能填 姓名！"},
        {"所属分组", "标题名称不能填  所属分组！"},
        {"手机号码", "标题名称不能填  手机号码！"},
        {"新建时间", "标题名称不能填  新建时间！"},
        {"备注", "标题名称不能填  备注！"},
        {" 备注", "数据库操作失败！"},
        {"颜色", "标题名称不能重复！"},
        {"a b", ident},
        {"it's", ident},
        {"(x)", ident},
        {"a*b", ident},
        {"9号", ident},
        {" 产地 ", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SaveNew(c.name), c.message) << c.name.toStdString();
    EXPECT_EQ(Rows("select TitleName from AppTitle"), (QStringList{"颜色", "产地"}));
}

TEST_F(TitleDialogTest, EmptyNamePutsFocusInNameBox) {
    TFormAddTitle dlg;
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    dlg.cbbType->setFocus();
    dlg.edtName->setText(" ");
    dlg.btnOK()->click();
    EXPECT_EQ(messages.Texts(), QStringList{"标题名不能为空！"});
    EXPECT_EQ(messages.shown.back().kind, TMessageKind::Info);
    EXPECT_TRUE(dlg.edtName->hasFocus());
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(Rows("select count(*) from AppTitle"), QStringList{"0"});
}

TEST_F(TitleDialogTest, KindChoiceShowsItsControls) {
    TFormAddTitle dlg;
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("新建自定义商品资料"));
    EXPECT_EQ(dlg.edtName->maxLength(), 10);
    EXPECT_EQ(dlg.cbbType->count(), 5);
    EXPECT_EQ(dlg.cbbType->currentIndex(), 0);
    EXPECT_EQ(dlg.mmo1->toPlainText(), TitleKindDescription(0));
    struct Case {
        int kind;
        bool edt, mmo, label, sj;
    } cases[] = {
        {1, false, true, true, false}, {2, false, false, false, false}, {3, false, false, true, true},
        {4, true, false, true, false}, {0, true, false, true, false},
    };
    for (const Case& c : cases) {
        dlg.edtmrz->setText("x");
        dlg.mmomrz->setPlainText("y");
        dlg.cbbType->setCurrentIndex(c.kind);
        EXPECT_EQ(dlg.edtmrz->isVisible(), c.edt) << c.kind;
        EXPECT_EQ(dlg.mmomrz->isVisible(), c.mmo) << c.kind;
        EXPECT_EQ(dlg.lblmrz->isVisible(), c.label) << c.kind;
        EXPECT_EQ(dlg.cbbsj->isVisible(), c.sj) << c.kind;
        EXPECT_FALSE(dlg.DBDate->isVisible()) << c.kind;
        EXPECT_TRUE(dlg.edtmrz->text().isEmpty()) << c.kind;
        EXPECT_TRUE(dlg.mmomrz->toPlainText().isEmpty()) << c.kind;
        EXPECT_EQ(dlg.mmo1->toPlainText(), TitleKindDescription(c.kind)) << c.kind;
    }
    dlg.cbbType->setCurrentIndex(3);
    dlg.cbbsj->setCurrentIndex(1);
    EXPECT_TRUE(dlg.DBDate->isVisible());
    dlg.cbbsj->setCurrentIndex(0);
    EXPECT_FALSE(dlg.DBDate->isVisible());
}

TEST_F(TitleDialogTest, ValuesWrittenByKind) {
    EXPECT_EQ(SaveNew("文本", 0, "O'Neil", true, false), QString());
    EXPECT_EQ(SaveNew("列表", 1, "A\n\nB\n5''"), QString());
    EXPECT_EQ(SaveNew("空列表", 1, ""), QString());
    EXPECT_EQ(SaveNew("记忆", 2), QString());
    EXPECT_EQ(SaveNew("数字", 4, "1.5", false, true), QString());
    {
        TFormAddTitle dlg;
        dlg.edtName->setText("今天");
        dlg.cbbType->setCurrentIndex(3);
        dlg.btnOK()->click();
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
    }
    {
        TFormAddTitle dlg;
        dlg.edtName->setText("固定");
        dlg.cbbType->setCurrentIndex(3);
        dlg.cbbsj->setCurrentIndex(1);
        dlg.DBDate->setDate(QDate(2021, 2, 3));
        dlg.btnOK()->click();
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
    }
    EXPECT_EQ(
        Rows("select TitleName,TitleType,TitleValues,iif(Titlebt,'是','否'),iif(Titlewy,'是','否') "
             "from AppTitle"),
        (QStringList{"文本|0|O'Neil|是|否", "列表|1|A%#%%#%B%#%5''%#%|否|否", "空列表|1||否|否",
                     "记忆|2||否|否", "数字|4|1.5|否|是", "今天|3|date()|否|否", "固定|3|2021-02-03|否|否"}));
    // Every field got its column.
    ExecSql("insert into Customer([GUID],文本,列表,空列表,记忆,数字,今天,固定) values "
            "('G','','','','','','','')");
    EXPECT_EQ(Rows("select count(*) from Customer"), QStringList{"1"});
}

TEST_F(TitleDialogTest, ChangeModeLoadsEachKind) {
    SetNow(QDateTime(QDate(2024, 5, 6), QTime(9, 0)));
    ExecSql(
        "insert into AppTitle(TitleName,TitleType,TitleValues,Titlebt,Titlewy) values "
        "('甲',1,'A%#%%#%B%#%','-1','0')@#@"
        "insert into AppTitle(TitleName,TitleType,TitleValues,Titlebt,Titlewy) values "
        "('乙',3,'date()','0','-1')@#@"
        "insert into AppTitle(TitleName,TitleType,TitleValues,Titlebt,Titlewy) values "
        "('丙',3,'2020-10-09','0','0')@#@"
        "insert into AppTitle(TitleName,TitleType,TitleValues,Titlebt,Titlewy) values "
        "('丁',3,'乱码','0','0')@#@"
        "insert into AppTitle(TitleName,TitleType,TitleValues,Titlebt,Titlewy) values ('戊',4,'12','0','0')");
    {
        TFormModTitle dlg;
        ASSERT_TRUE(dlg.Load("甲"));
        dlg.show();
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("修改自定义商品资料"));
        EXPECT_EQ(dlg.cbbType->currentIndex(), 1);
        EXPECT_EQ(dlg.mmomrz->toPlainText(), QStringLiteral("A\n\nB"));
        EXPECT_TRUE(dlg.chkbt->isChecked());
        EXPECT_FALSE(dlg.chkwy->isChecked());
        EXPECT_EQ(dlg.mmo1->toPlainText(), TitleKindDescription(1));
        EXPECT_EQ(dlg.TitleValues(), QStringLiteral("A%#%%#%B%#%"));
    }
    struct DateCase {
        QString name;
        int choice;
        bool picker;
        QDate date;
    } dates[] = {
        {"乙", 0, false, QDate()}, {"丙", 1, true, QDate(2020, 10, 9)}, {"丁", 1, true, QDate(2024, 5, 6)}};
    for (const DateCase& c : dates) {
        TFormModTitle dlg;
        ASSERT_TRUE(dlg.Load(c.name));
        dlg.show();
        EXPECT_EQ(dlg.cbbsj->currentIndex(), c.choice) << c.name.toStdString();
        EXPECT_EQ(dlg.DBDate->isVisible(), c.picker) << c.name.toStdString();
        if (c.date.isValid()) {
            EXPECT_EQ(dlg.DBDate->date(), c.date) << c.name.toStdString();
        }
    }
    TFormModTitle dlg;
    ASSERT_TRUE(dlg.Load("戊"));
    EXPECT_EQ(dlg.edtmrz->text(), QStringLiteral("12"));
    EXPECT_FALSE(TFormModTitle().Load("没有"));
}

TEST_F(TitleDialogTest, ChangeModeRenameAndKindChange) {
    ASSERT_EQ(SaveNew("颜色", 0, "红"), QString());
    ASSERT_EQ(SaveNew("产地", 0), QString());
    ExecSql("insert into Customer([GUID],TypeID,颜色) values ('G1',0,'红')@#@"
            "insert into Customer([GUID],TypeID,颜色) values ('G2',0,'O''Neil')");
    struct Case {
        QString name;
        QString message;
    } cases[] = {
        {"", "标题名不能为空！"},
        {"备注", "标题名称不能填  备注！"},
        {"颜色 ", "标题名称只能包含文字、字母、数字和下划线，且不能以数字开头！"},
        {"产地", "数据库操作失败！"},
    };
    for (const Case& c : cases) {
        TFormModTitle dlg;
        ASSERT_TRUE(dlg.Load("颜色"));
        dlg.edtName->setText(c.name);
        messages.Clear();
        dlg.btnOK()->click();
        EXPECT_EQ(LastMessage(messages), c.message) << c.name.toStdString();
        EXPECT_NE(dlg.result(), QDialog::Accepted);
    }
    {
        // Only the kind changes: one statement, the column and its values stay.
        TFormModTitle dlg;
        ASSERT_TRUE(dlg.Load("颜色"));
        dlg.cbbType->setCurrentIndex(1);
        dlg.mmomrz->setPlainText("红\n绿");
        dlg.btnOK()->click();
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
    }
    EXPECT_EQ(Rows("select TitleType,TitleValues from AppTitle where TitleName='颜色'"),
              QStringList{"1|红%#%绿%#%"});
    EXPECT_EQ(Rows("select 颜色 from Customer order by [GUID]"), (QStringList{"红", "O'Neil"}));
    {
        TFormModTitle dlg;
        ASSERT_TRUE(dlg.Load("颜色"));
        dlg.edtName->setText("色彩");
        dlg.btnOK()->click();
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
    }
    EXPECT_EQ(Rows("select [GUID],色彩 from Customer order by [GUID]"), (QStringList{"G1|红", "G2|O'Neil"}));
    EXPECT_EQ(Rows("select TitleName from AppTitle"), (QStringList{"色彩", "产地"}));
}

TEST_F(TitleDialogTest, ModalEditorFromFreeFunction) {
    WhenModal([] {
        auto* dlg = qobject_cast<TFormAddTitle*>(ActiveModal());
        ASSERT_TRUE(dlg);
        dlg->edtName->setText("规格");
        dlg->btnOK()->click();
    });
    EXPECT_TRUE(ShowAddTitle());
    WhenModal([] {
        auto* dlg = qobject_cast<TFormModTitle*>(ActiveModal());
        ASSERT_TRUE(dlg);
        EXPECT_EQ(dlg->edtName->text(), QStringLiteral("规格"));
        dlg->btnCancel()->click();
    });
    EXPECT_FALSE(ShowModTitle("规格"));
    EXPECT_EQ(Rows("select TitleName from AppTitle"), QStringList{"规格"});
}
