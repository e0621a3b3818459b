// The stock documents: listing, the quantity boxes, the check, the three bookings and the discard question.
#include "common/StatusPanels.h"
#include "controls/CardFloatIntEdit.h"
#include "data/MD.h"
#include "goods/GoodsPage.h"
#include "stock/BaseStor.h"
#include "stock/StockCommands.h"
#include "stock/StockTestData.h"
#include "stock/StorIn.h"
#include "stock/StorList.h"
#include "stock/StorOk.h"
#include "stock/StorOut.h"
#include "support/GuiTestSupport.h"
#include "tree/UntTree.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>
#include <sqlite3.h>

using namespace stock_test;

namespace {

class StorFormTest : public TDataFileTest {
protected:
    void SetUp() override {
        TDataFileTest::SetUp();
        AddGroup(1, 0, QStringLiteral("饮料"));
        AddGroup(2, 1, QStringLiteral("果汁"));
        AddGoods(1, 1, QStringLiteral("A01"), QStringLiteral("可乐"), 10);
        AddGoods(2, 1, QStringLiteral("A02"), QStringLiteral("雪碧"), 3);
        AddGoods(3, 2, QStringLiteral("B01"), QStringLiteral("橙汁"), 0);
        AddGoods(4, 0, QStringLiteral("C01"), QStringLiteral("O'Neil"), 7);
    }
    void TearDown() override {
        form.reset();
        TDataFileTest::TearDown();
    }
    template <class T> void Open() {
        form = std::make_unique<T>();
        form->show();
        QApplication::processEvents();
    }
    TStorModel* Model() const { return form->Model(); }
    // The row of the goods record with this code, -1 when it is not listed.
    int RowOf(const QString& code) const {
        for (int r = 0; r < Model()->rowCount(); ++r)
            if (Model()->Rows()[size_t(r)].Code == code) return r;
        return -1;
    }
    QStringList Codes() const {
        QStringList codes;
        for (const TStorRow& r : Model()->Rows())
            codes << r.Code;
        codes.sort();
        return codes;
    }
    // Types text into the row's box as the user does: the box opens there, the text goes in, the box is left
    // open.
    TCardFloatIntEdit* Type(const QString& code, const QString& text) {
        form->lv1()->EditRow(RowOf(code));
        TCardFloatIntEdit* box = form->lv1()->OpenBox();
        if (box) box->setText(text);
        return box;
    }
    void Key(QWidget* w, int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(w, &press);
    }
    void ClickGroup(const QString& name) {
        QTreeWidgetItem* node = form->tv1()->findItems(name, Qt::MatchExactly | Qt::MatchRecursive).value(0);
        ASSERT_NE(node, nullptr);
        form->tv1()->setCurrentItem(node);
        emit form->tv1()->itemClicked(node, 0);
    }
    void Confirm() { form->btnOK()->click(); }
    std::unique_ptr<TFormBaseStor> form;
};

TEST_F(StorFormTest, EachDocumentHasItsTexts) {
    const std::tuple<TStorKind, const char*, const char*, const char*> cases[] = {
        {TStorKind::In, "商品进货", "商  品  进  货", "确定进货(&S)"},
        {TStorKind::Out, "商品出货", "商  品  出  货", "确定出货(&S)"},
        {TStorKind::Ok, "商品盘点", "商  品  盘  点", "确定盘点(&S)"}};
    for (const auto& [kind, caption, heading, button] : cases) {
        TFormBaseStor f(kind);
        EXPECT_EQ(f.windowTitle(), QString::fromUtf8(caption));
        EXPECT_EQ(f.lblTitle()->text(), QString::fromUtf8(heading));
        EXPECT_EQ(f.btnOK()->text(), QString::fromUtf8(button));
        EXPECT_FALSE(f.btnOK()->isDefault() || f.btnOK()->autoDefault());
        EXPECT_EQ(f.btnCancel()->text(), QStringLiteral("取消(&C)"));
    }
}

TEST_F(StorFormTest, OpeningListsEveryGoodsWithTheFirstBoxOpen) {
    Open<TFormStorIn>();
    EXPECT_EQ(Codes(), QStringList({"A01", "A02", "B01", "C01"}));
    EXPECT_EQ(form->cbbQuery()->currentText(), QStringLiteral("商品编号"));
    for (const QString& q : Model()->Quantities())
        EXPECT_EQ(q, QStringLiteral("0"));
    EXPECT_EQ(form->lv1()->OpenBoxRow(), 0);
    EXPECT_EQ(Model()->headerData(TStorModel::ColQuantity, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("进货数量"));
    EXPECT_EQ(Model()->data(Model()->index(RowOf("A01"), TStorModel::ColStock), Qt::DisplayRole).toString(),
              QStringLiteral("10"));
}

TEST_F(StorFormTest, AGroupListsOnlyItsOwnGoodsAndTheSearchNarrows) {
    Open<TFormStorOut>();
    ClickGroup(QStringLiteral("饮料"));
    EXPECT_EQ(Codes(), QStringList({"A01", "A02"}));
    ClickGroup(QStringLiteral("全部商品"));
    form->cbbQuery()->setCurrentText(QStringLiteral("商品名称"));
    form->edtQuery()->setText(QStringLiteral("O'N"));
    form->btnQuery()->click();
    EXPECT_EQ(Codes(), QStringList({"C01"}));
}

TEST_F(StorFormTest, StockInBooksEveryNonZeroRowTogether) {
    Open<TFormStorIn>();
    Type("A01", "5");
    Type("B01", "-2"); // a negative quantity lowers the stock
    Type("C01", "0");
    Confirm();
    EXPECT_EQ(messages.Texts(), QStringList(QStringLiteral("进货成功!")));
    EXPECT_EQ(Rows(QStringLiteral("select GUID,SL from StorIn order by GUID")),
              QStringList({Guid(1) + "|5", Guid(3) + "|-2"}));
    EXPECT_EQ(Stock(1), 15);
    EXPECT_EQ(Stock(3), -2);
    EXPECT_EQ(Stock(4), 7);
    // Listed again: the new stock, every box back at 0.
    EXPECT_EQ(Model()->Rows()[size_t(RowOf("A01"))].Stock, QStringLiteral("15"));
    for (const QString& q : Model()->Quantities())
        EXPECT_EQ(q, QStringLiteral("0"));
}

TEST_F(StorFormTest, StockOutMayGoBelowZero) {
    Open<TFormStorOut>();
    Type("A02", "5");
    Type("A01", "-1"); // a negative stock-out raises the stock
    Confirm();
    EXPECT_EQ(messages.Texts(), QStringList(QStringLiteral("出货成功!")));
    EXPECT_EQ(Stock(2), -2);
    EXPECT_EQ(Stock(1), 11);
    EXPECT_EQ(Rows(QStringLiteral("select GUID,SL from StorOut order by GUID")),
              QStringList({Guid(1) + "|-1", Guid(2) + "|5"}));
}

TEST_F(StorFormTest, TheCheckRefusesNothingToBook) {
    Open<TFormStorIn>();
    Type("A01", "5");
    Type("A02", "-5");
    Confirm();
    EXPECT_EQ(messages.Texts(), QStringList(QStringLiteral("请先输入数量!")));
    EXPECT_EQ(form->lv1()->OpenBoxRow(), 0);
    EXPECT_EQ(Rows(QStringLiteral("select count(*) from StorIn")), QStringList("0"));
    // The entries stay.
    EXPECT_EQ(Model()->Quantities()[size_t(RowOf("A01"))], QStringLiteral("5"));

    messages.Clear();
    form->edtQuery()->setText(QStringLiteral("没有这个"));
    messages.QueueAnswer(true); // give up the entries
    form->btnQuery()->click();
    ASSERT_EQ(Model()->rowCount(), 0);
    messages.Clear();
    Confirm();
    EXPECT_EQ(messages.Texts(), QStringList(QStringLiteral("没有商品信息,不能进行此操作!")));
}

TEST_F(StorFormTest, TheBoxBeingEditedCounts) {
    Open<TFormStorIn>();
    Type("A01", "4");
    // Still in the box, never left; and an emptied box and a lone minus are repaired, not refused.
    Type("A02", "-");
    TCardFloatIntEdit* box = Type("B01", "7");
    ASSERT_NE(box, nullptr);
    Confirm();
    EXPECT_EQ(messages.Texts(), QStringList(QStringLiteral("进货成功!")));
    EXPECT_EQ(Rows(QStringLiteral("select GUID,SL from StorIn order by GUID")),
              QStringList({Guid(1) + "|4", Guid(3) + "|7"}));

    messages.Clear();
    Type("A01", "");
    Confirm();
    EXPECT_EQ(messages.Texts(), QStringList(QStringLiteral("请先输入数量!")));
    EXPECT_EQ(Model()->Quantities()[size_t(RowOf("A01"))], QStringLiteral("0"));
}

TEST_F(StorFormTest, StocktakeWritesOnlyChangedCounts) {
    Open<TFormStorOk>();
    EXPECT_EQ(Model()->Quantities()[size_t(RowOf("A01"))], QStringLiteral("10"));
    EXPECT_EQ(Model()->Quantities()[size_t(RowOf("A02"))], QStringLiteral("3"));
    // Another document changes the stock meanwhile: the count's old stock is the one shown.
    ExecSql(QStringLiteral("update Customer set 库存=99 where GUID=?"), {Guid(2)});
    Type("A02", "4");
    Type("A01", "10");
    Confirm();
    EXPECT_EQ(messages.Texts(), QStringList(QStringLiteral("盘点成功!")));
    EXPECT_EQ(Rows(QStringLiteral("select GUID,SL,Oldsl from StorOk")), QStringList(Guid(2) + "|4|3"));
    EXPECT_EQ(Stock(2), 4);
    EXPECT_EQ(Stock(1), 10);
    EXPECT_EQ(Model()->Quantities()[size_t(RowOf("A02"))], QStringLiteral("4"));

    // Every count equal to the stock: nothing is written and the count still succeeds.
    messages.Clear();
    Confirm();
    EXPECT_EQ(messages.Texts(), QStringList(QStringLiteral("盘点成功!")));
    EXPECT_EQ(Rows(QStringLiteral("select count(*) from StorOk")), QStringList("1"));
}

TEST_F(StorFormTest, AFailingBatchLeavesNothing) {
    sqlite3_exec(gDbAccess->Connection->Handle(),
                 QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON Customer WHEN NEW.GUID='%1' BEGIN "
                                "SELECT RAISE(ABORT,'refused'); END")
                     .arg(Guid(3))
                     .toUtf8()
                     .constData(),
                 nullptr, nullptr, nullptr);
    Open<TFormStorIn>();
    Type("A01", "5");
    Type("B01", "2");
    Confirm();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, TMessageKind::Error);
    EXPECT_EQ(Rows(QStringLiteral("select count(*) from StorIn")), QStringList("0"));
    EXPECT_EQ(Stock(1), 10);
    EXPECT_EQ(Model()->Quantities()[size_t(RowOf("A01"))], QStringLiteral("5"));
    EXPECT_EQ(Model()->Quantities()[size_t(RowOf("B01"))], QStringLiteral("2"));
}

TEST_F(StorFormTest, TypedQuantitiesAreNotDiscardedUnasked) {
    Open<TFormStorIn>();
    Type("A01", "5");
    messages.QueueAnswer(false);
    ClickGroup(QStringLiteral("果汁"));
    EXPECT_EQ(messages.Texts(), QStringList(QStringLiteral("输入的数量尚未保存，确定要放弃吗？")));
    EXPECT_EQ(messages.shown[0].kind, TMessageKind::Question);
    EXPECT_EQ(Codes(), QStringList({"A01", "A02", "B01", "C01"}));
    EXPECT_EQ(Model()->Quantities()[size_t(RowOf("A01"))], QStringLiteral("5"));
    EXPECT_EQ(form->tv1()->currentItem(), form->Tree()->RootNode);

    messages.Clear();
    messages.QueueAnswer(true);
    ClickGroup(QStringLiteral("果汁"));
    EXPECT_EQ(messages.Texts().size(), 1);
    EXPECT_EQ(Codes(), QStringList({"B01"}));

    // Without typed quantities nothing is asked.
    messages.Clear();
    ClickGroup(QStringLiteral("饮料"));
    EXPECT_TRUE(messages.Texts().isEmpty());
    EXPECT_EQ(Codes(), QStringList({"A01", "A02"}));
}

TEST_F(StorFormTest, EnterAndDownGoToTheNextBoxAndUpToThePrevious) {
    Open<TFormStorIn>();
    TStorListView* lv = form->lv1();
    ASSERT_EQ(lv->OpenBoxRow(), 0);
    const std::pair<int, int> moves[] = {
        {Qt::Key_Return, 1}, {Qt::Key_Down, 2}, {Qt::Key_Enter, 3}, {Qt::Key_Up, 2}, {Qt::Key_Up, 1}};
    for (const auto& [key, row] : moves) {
        TCardFloatIntEdit* box = lv->OpenBox();
        ASSERT_NE(box, nullptr);
        QKeyEvent digit(QEvent::KeyPress, Qt::Key_8, Qt::NoModifier, QStringLiteral("8"));
        box->selectAll();
        QApplication::sendEvent(box, &digit);
        Key(box, key);
        EXPECT_EQ(lv->OpenBoxRow(), row);
    }
    // What was typed on the way is in the model; Enter booked nothing.
    EXPECT_EQ(Model()->Quantities()[0], QStringLiteral("8"));
    EXPECT_EQ(Model()->Quantities()[3], QStringLiteral("8"));
    EXPECT_EQ(Rows(QStringLiteral("select count(*) from StorIn")), QStringList("0"));
    EXPECT_TRUE(form->isVisible());
}

TEST_F(StorFormTest, AfterADocumentTheGoodsPageShowsTheNewTotal) {
    TGoodsPage page;
    for (const char* text : {"商品数量：", "4", "库存：", "20"})
        page.stat1()->AddPanel(QString::fromUtf8(text), 60);
    ConnectStockCommands(&page);
    for (QToolButton* b : {page.ToolButtonCZ(), page.btn4(), page.btn6(), page.btn8()})
        EXPECT_TRUE(b->isEnabled());
    WhenModal([this] {
        auto* f = qobject_cast<TFormBaseStor*>(ActiveModal());
        ASSERT_NE(f, nullptr);
        f->lv1()->EditRow(0);
        f->lv1()->OpenBox()->setText(QStringLiteral("100"));
        f->btnOK()->click();
        f->reject();
    });
    page.ToolButtonCZ()->click();
    EXPECT_EQ(messages.Texts(), QStringList(QStringLiteral("进货成功!")));
    EXPECT_EQ(page.stat1()->PanelText(3), QStringLiteral("120"));
}

} // namespace
