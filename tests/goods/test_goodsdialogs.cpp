// The new-goods and modify-goods dialogs.
#include "common/UException.h"
#include "controls/CardEdtBut.h"
#include "data/MD.h"
#include "goods/AddCustomer.h"
#include "goods/GoodsTestData.h"
#include "goods/ModCustomer.h"
#include "support/GuiTestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>

using namespace goods_test;

namespace {

class GoodsDialogTest : public TDataFileTest {
protected:
    void SetUp() override {
        TDataFileTest::SetUp();
        AddGroup(1, 0, QStringLiteral("饮料"));
    }
    static QLineEdit* Ctrl(QWidget* dialog, int n) {
        return dialog->findChild<QLineEdit*>(QStringLiteral("Ctrl%1").arg(n));
    }
    static void Type(TFormBaseCustomer& d, const QString& code, const QString& name, const QString& remark) {
        d.edtName->setText(code);
        d.edtTel->setText(name);
        d.mmoRemark->setPlainText(remark);
    }
    QString Stored(const QString& guid,
                   const QString& columns = QStringLiteral("TypeID,商品编号,商品名称,备注")) {
        const QStringList rows =
            Rows(QStringLiteral("select %1 from Customer where GUID='%2'").arg(columns, guid));
        return rows.size() == 1 ? rows.first() : QStringLiteral("<%1 rows>").arg(rows.size());
    }
};

TEST_F(GoodsDialogTest, InsertWithoutUserFieldsNamesTheFiveFixedColumns) {
    TFormAddCustomer d;
    EXPECT_EQ(d.windowTitle(), QStringLiteral("新建商品信息"));
    d.SetGroup(1, QStringLiteral("饮料"));
    Type(d, QStringLiteral("A1"), QStringLiteral("可乐"), QStringLiteral("整箱"));
    d.btnOKClick();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.LastSql, QStringLiteral("insert into Customer([GUID],TypeID,商品编号,商品名称,备注 ) values "
                                        "('%1',1,'A1','可乐','整箱')")
                             .arg(d.GoodsGuid));
    EXPECT_EQ(Stored(d.GoodsGuid, QStringLiteral("TypeID,商品编号,商品名称,备注,库存")),
              QStringLiteral("1|A1|可乐|整箱|0"));
}

TEST_F(GoodsDialogTest, InsertWithUserFieldsAppendsTheirColumnsInStoredOrder) {
    AddField(QStringLiteral("颜色"), 0, false, false, QStringLiteral("红"));
    AddField(QStringLiteral("单价"), 4, false, false, QStringLiteral("2.5"));
    TFormAddCustomer d;
    d.SetGroup(0, QStringLiteral("未分组"));
    Type(d, QStringLiteral("B1"), QStringLiteral("糖"), QString());
    Ctrl(&d, 1)->setText(QStringLiteral("黑'白"));
    d.btnOKClick();
    EXPECT_EQ(d.LastSql,
              QStringLiteral("insert into Customer([GUID],TypeID,商品编号,商品名称,备注,颜色,单价) values "
                             "('%1',0,'B1','糖','','黑''白','2.5')")
                  .arg(d.GoodsGuid));
    EXPECT_EQ(Stored(d.GoodsGuid, QStringLiteral("TypeID,商品名称,颜色,单价")),
              QStringLiteral("0|糖|黑'白|2.5"));
}

TEST_F(GoodsDialogTest, ANameWithAQuoteIsStoredAndChanged) {
    TFormAddCustomer add;
    Type(add, QStringLiteral("O'1"), QStringLiteral("O'Neil's"), QStringLiteral("it's"));
    add.btnOKClick();
    const QString guid = add.GoodsGuid;
    EXPECT_EQ(Stored(guid), QStringLiteral("0|O'1|O'Neil's|it's"));

    TFormModCustomer mod;
    EXPECT_EQ(mod.windowTitle(), QStringLiteral("修改商品信息"));
    mod.GoodsGuid = guid;
    mod.FormShow();
    EXPECT_EQ(mod.edtTel->text(), QStringLiteral("O'Neil's"));
    EXPECT_EQ(mod.edtName->text(), QStringLiteral("O'1"));
    EXPECT_EQ(mod.mmoRemark->toPlainText(), QStringLiteral("it's"));
    EXPECT_EQ(mod.EdtGoup->text(), QStringLiteral("未分组"));
    mod.edtTel->setText(QStringLiteral("Men's 'best'"));
    mod.btnOKClick();
    EXPECT_EQ(mod.result(), QDialog::Accepted);
    EXPECT_EQ(Stored(guid), QStringLiteral("0|O'1|Men's 'best'|it's"));
}

TEST_F(GoodsDialogTest, UpdateWithoutUserFieldsSetsOnlyTheFourFixedColumns) {
    AddGoods(Guid(1), 1, QStringLiteral("A1"), QStringLiteral("可乐"));
    TFormModCustomer mod;
    mod.GoodsGuid = Guid(1);
    mod.FormShow();
    EXPECT_EQ(mod.GroupIndex, 1);
    EXPECT_EQ(mod.EdtGoup->text(), QStringLiteral("饮料"));
    mod.edtName->setText(QStringLiteral("A2"));
    mod.btnOKClick();
    EXPECT_EQ(mod.LastSql,
              QStringLiteral("update Customer set TypeID=1,商品编号='A2',商品名称='可乐',备注=''  where "
                             "GUID='%1' ")
                  .arg(Guid(1)));
    EXPECT_EQ(Stored(Guid(1)), QStringLiteral("1|A2|可乐|"));
}

TEST_F(GoodsDialogTest, ModifyFillsAndUpdatesTheUserFields) {
    AddField(QStringLiteral("颜色"));
    AddField(QStringLiteral("产地"));
    AddGoods(Guid(1), 1, QStringLiteral("A1"), QStringLiteral("可乐"), QStringLiteral("颜色,产地"),
             QStringLiteral("'红','上海'"));
    TFormModCustomer mod;
    mod.GoodsGuid = Guid(1);
    mod.FormShow();
    EXPECT_EQ(Ctrl(&mod, 1)->text(), QStringLiteral("红"));
    EXPECT_EQ(Ctrl(&mod, 2)->text(), QStringLiteral("上海"));
    Ctrl(&mod, 2)->setText(QStringLiteral("北京"));
    mod.btnOKClick();
    EXPECT_EQ(
        mod.LastSql,
        QStringLiteral("update Customer set 颜色='红',产地='北京',TypeID=1,商品编号='A1',商品名称='可乐',"
                       "备注=''  where GUID='%1' ")
            .arg(Guid(1)));
    EXPECT_EQ(Stored(Guid(1), QStringLiteral("颜色,产地")), QStringLiteral("红|北京"));
}

TEST_F(GoodsDialogTest, AMissingGroupRowShowsEmptyAndIsKeptOnSave) {
    AddGoods(Guid(1), 42, QStringLiteral("Z1"), QStringLiteral("孤儿"));
    TFormModCustomer mod;
    mod.GoodsGuid = Guid(1);
    mod.FormShow();
    EXPECT_EQ(mod.EdtGoup->text(), QString());
    EXPECT_EQ(mod.GroupIndex, 42);
    mod.edtTel->setText(QStringLiteral("孤儿2"));
    mod.btnOKClick();
    EXPECT_EQ(Stored(Guid(1)), QStringLiteral("42|Z1|孤儿2|"));
}

// The whole path through the buttons: a refused OK keeps the dialog open with its input, and the second OK
// stores the record under the GUID made when the dialog was created.
TEST_F(GoodsDialogTest, AFailedUniqueCheckThenASuccessfulSaveUnderTheSameGuid) {
    AddField(QStringLiteral("条码"), 0, false, true);
    AddGoods(Guid(1), 1, QStringLiteral("A1"), QStringLiteral("可乐"), QStringLiteral("条码"),
             QStringLiteral("'X1'"));
    QString guidAtFirstTry, guidAtSecondTry;
    bool openAfterRefusal = false;
    QString nameAfterRefusal;
    WhenModal([&] {
        auto* d = qobject_cast<TFormAddCustomer*>(ActiveModal());
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->EdtGoup->text(), QStringLiteral("饮料"));
        guidAtFirstTry = d->GoodsGuid;
        Type(*d, QStringLiteral("A2"), QStringLiteral("雪碧"), QString());
        Ctrl(d, 1)->setText(QStringLiteral("X1"));
        d->btnOK()->click();
        openAfterRefusal = ActiveModal() == d && d->result() != QDialog::Accepted;
        nameAfterRefusal = d->edtTel->text();
        Ctrl(d, 1)->setText(QStringLiteral("X2"));
        guidAtSecondTry = d->GoodsGuid;
        d->btnOK()->click();
    });
    EXPECT_EQ(ShowAddGoods(1, QStringLiteral("饮料")), QDialog::Accepted);
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_EQ(nameAfterRefusal, QStringLiteral("雪碧"));
    EXPECT_TRUE(
        messages.Texts().contains(QStringLiteral("标题名称 条码 输入的信息 X1 已经存在，不能重复输入！")))
        << messages.Texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(guidAtFirstTry, guidAtSecondTry);
    EXPECT_EQ(Stored(guidAtFirstTry, QStringLiteral("TypeID,商品名称,条码")), QStringLiteral("1|雪碧|X2"));
    EXPECT_EQ(Rows(QStringLiteral("select count(*) from Customer")), QStringList{QStringLiteral("2")});
}

TEST_F(GoodsDialogTest, ARequiredFieldLeftEmptyRefusesTheSave) {
    AddField(QStringLiteral("产地"), 0, true);
    TFormAddCustomer d;
    Type(d, QStringLiteral("A1"), QStringLiteral("可乐"), QString());
    try {
        d.btnOKClick();
        ADD_FAILURE() << "the save was not refused";
    } catch (const EAppError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("产地不能为空！"));
    }
    EXPECT_NE(d.result(), QDialog::Accepted);
    EXPECT_EQ(Rows(QStringLiteral("select count(*) from Customer")), QStringList{QStringLiteral("0")});
}

TEST_F(GoodsDialogTest, CancelWritesNothing) {
    WhenModal([&] {
        auto* d = qobject_cast<TFormAddCustomer*>(ActiveModal());
        ASSERT_NE(d, nullptr);
        Type(*d, QStringLiteral("A1"), QStringLiteral("可乐"), QString());
        d->btnCancel()->click();
    });
    EXPECT_EQ(ShowAddGoods(0, QStringLiteral("未分组")), QDialog::Rejected);
    EXPECT_EQ(Rows(QStringLiteral("select count(*) from Customer")), QStringList{QStringLiteral("0")});
}

TEST_F(GoodsDialogTest, ModifyThroughItsFunctionShowsTheRecordAndSaves) {
    AddGoods(Guid(3), 1, QStringLiteral("C3"), QStringLiteral("橙汁"));
    QString shownName;
    WhenModal([&] {
        auto* d = qobject_cast<TFormModCustomer*>(ActiveModal());
        ASSERT_NE(d, nullptr);
        shownName = d->edtTel->text();
        d->edtTel->setText(QStringLiteral("鲜橙汁"));
        d->btnOK()->click();
    });
    EXPECT_EQ(ShowModifyGoods(Guid(3)), QDialog::Accepted);
    EXPECT_EQ(shownName, QStringLiteral("橙汁"));
    EXPECT_EQ(Stored(Guid(3)), QStringLiteral("1|C3|鲜橙汁|"));
}

// The group edit's button opens the picker; the picker's root gives "未分组" and index 0, Cancel keeps all.
TEST_F(GoodsDialogTest, TheGroupButtonPicksAGroup) {
    TFormAddCustomer d;
    d.SetGroup(1, QStringLiteral("饮料"));
    EXPECT_TRUE(d.EdtGoup->isReadOnly());
    EXPECT_EQ(d.EdtGoup->ButtonBmp(), CardFind);
    WhenModal([] {
        auto* picker = ActiveModal();
        ASSERT_NE(picker, nullptr);
        auto* tree = picker->findChild<QTreeWidget*>(QStringLiteral("tv1"));
        ASSERT_NE(tree, nullptr);
        tree->setCurrentItem(tree->topLevelItem(0));
        picker->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
    d.EdtGoup->Button()->click();
    EXPECT_EQ(d.GroupIndex, 0);
    EXPECT_EQ(d.EdtGoup->text(), QStringLiteral("未分组"));

    WhenModal([] {
        auto* picker = ActiveModal();
        ASSERT_NE(picker, nullptr);
        auto* tree = picker->findChild<QTreeWidget*>(QStringLiteral("tv1"));
        tree->setCurrentItem(tree->topLevelItem(0)->child(0));
        picker->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
    d.EdtGoup->Button()->click();
    EXPECT_EQ(d.GroupIndex, 1);
    EXPECT_EQ(d.EdtGoup->text(), QStringLiteral("饮料"));

    WhenModal([] { ActiveModal()->findChild<QPushButton*>(QStringLiteral("btnCancel"))->click(); });
    d.EdtGoup->Button()->click();
    EXPECT_EQ(d.GroupIndex, 1);
    EXPECT_EQ(d.EdtGoup->text(), QStringLiteral("饮料"));
}

TEST_F(GoodsDialogTest, KeyboardOrder) {
    AddField(QStringLiteral("颜色"));
    AddField(QStringLiteral("单价"), 4);
    TFormAddCustomer d;
    d.show();
    QApplication::setActiveWindow(&d);
    QApplication::processEvents();
    ASSERT_TRUE(d.edtTel->hasFocus());
    QStringList order;
    for (int i = 0; i < 5; ++i) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(QApplication::focusWidget(), &tab);
        order << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(order, (QStringList{"EdtGoup", "edtName", "Ctrl1", "Ctrl2", "mmoRemark"}));
}

} // namespace
