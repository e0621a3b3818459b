// The goods page: listing by group and search, totals, and the goods and group commands.
#include "common/StatusPanels.h"
#include "common/UException.h"
#include "controls/CardDBGrid.h"
#include "controls/CardEdtBut.h"
#include "data/MD.h"
#include "goods/AddCustomer.h"
#include "goods/GoodsBrowser.h"
#include "goods/GoodsGroups.h"
#include "goods/GoodsPage.h"
#include "goods/GoodsTestData.h"
#include "goods/UntCustomer.h"
#include "support/GuiTestSupport.h"
#include "tree/UntTree.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>

using namespace goods_test;

namespace {

class GoodsBrowserTest : public TDataFileTest {
protected:
    void SetUp() override {
        TDataFileTest::SetUp();
        AddGroup(1, 0, QStringLiteral("饮料"));
        AddGroup(2, 1, QStringLiteral("果汁"));
        AddGroup(3, 0, QStringLiteral("零食"));
        AddGoods(Guid(1), 1, QStringLiteral("A01"), QStringLiteral("可乐"));
        AddGoods(Guid(2), 1, QStringLiteral("A02"), QStringLiteral("雪碧"));
        AddGoods(Guid(3), 2, QStringLiteral("B01"), QStringLiteral("橙汁"));
        AddGoods(Guid(4), 0, QStringLiteral("C01"), QStringLiteral("O'Neil 外套"));
        AddGoods(Guid(5), 77, QStringLiteral("D01"), QStringLiteral("没有分组行"));
    }
    void TearDown() override {
        groups = nullptr;
        browser = nullptr;
        tree.reset();
        page.reset();
        TDataFileTest::TearDown();
    }
    // The page as the main window shows it first: groups loaded, search items filled, goods listed.
    void Open() {
        page = std::make_unique<TGoodsPage>();
        tree = std::make_unique<TCardTree>(page->tv1(), QStringLiteral("全部商品"),
                                           QStringLiteral("Customertype"));
        groups = new TGoodsGroupCommands(page.get(), tree.get());
        browser = new TGoodsBrowser(page.get(), tree.get());
        groups->QueryGoods = [this] { browser->QueryGoods(); };
        tree->LoadGroups();
        browser->FillQueryItems();
        browser->QueryGoods();
    }
    QTreeWidgetItem* Node(const QString& text) {
        const auto found = page->tv1()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }
    void Select(const QString& text) { page->tv1()->setCurrentItem(Node(text)); }
    void ClickGroup(const QString& text) {
        Select(text);
        emit page->tv1()->itemClicked(Node(text), 0);
    }
    void Search(const QString& item, const QString& text) {
        page->cbbQuery()->setCurrentText(item);
        page->edtQuery()->setText(text);
        page->btnQuery()->click();
    }
    TResultSet* Shown() const { return browser->DBGrid1()->DataSet(); }
    // The 商品编号 of the listed rows, sorted.
    QStringList Codes() const {
        QStringList out;
        for (int r = 0; r < Shown()->RecordCount(); ++r)
            out << Shown()->Text(r, 2);
        out.sort();
        return out;
    }
    QStringList Panels() const {
        QStringList out;
        for (int i = 0; i < page->stat1()->PanelCount(); ++i)
            out << page->stat1()->PanelText(i);
        return out;
    }
    QString Count() const { return Rows(QStringLiteral("select count(*) from Customer")).value(0); }
    QStringList Rows(const QString& sql) const {
        return const_cast<GoodsBrowserTest*>(this)->TDataFileTest::Rows(sql);
    }

    std::unique_ptr<TGoodsPage> page;
    std::unique_ptr<TCardTree> tree;
    TGoodsGroupCommands* groups = nullptr;
    TGoodsBrowser* browser = nullptr;
};

TEST_F(GoodsBrowserTest, NothingOrTheRootSelectedListsAllGoodsThatHaveAGroupRow) {
    Open();
    EXPECT_EQ(Codes(), (QStringList{"A01", "A02", "B01", "C01"}));
    ClickGroup(QStringLiteral("全部商品"));
    EXPECT_EQ(Codes(), (QStringList{"A01", "A02", "B01", "C01"}));
    EXPECT_EQ(browser->DBGrid1()->objectName(), QStringLiteral("DBGrid1"));
}

TEST_F(GoodsBrowserTest, AGroupListsOnlyItsOwnGoods) {
    Open();
    ClickGroup(QStringLiteral("饮料"));
    EXPECT_EQ(Codes(), (QStringList{"A01", "A02"}));
    ClickGroup(QStringLiteral("果汁"));
    EXPECT_EQ(Codes(), QStringList{"B01"});
    ClickGroup(QStringLiteral("零食"));
    EXPECT_EQ(Codes(), QStringList());
    EXPECT_EQ(Panels().value(1), QStringLiteral("0"));
}

TEST_F(GoodsBrowserTest, MovingThroughTheGroupsWithTheKeyboardListsThem) {
    Open();
    Select(QStringLiteral("饮料"));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(page->tv1(), &release);
    EXPECT_EQ(Codes(), (QStringList{"A01", "A02"}));
}

TEST_F(GoodsBrowserTest, ColumnsWithUserFieldsAndTheHiddenGuid) {
    AddField(QStringLiteral("颜色"));
    AddField(QStringLiteral("单价"), 4);
    Open();
    EXPECT_EQ(Shown()->FieldNames(),
              (QStringList{"GUID", "所属分组", "商品编号", "商品名称", "库存", "颜色", "单价", "备注"}));
    EXPECT_TRUE(browser->DBGrid1()->isColumnHidden(0));
    EXPECT_FALSE(browser->DBGrid1()->isColumnHidden(1));
    EXPECT_EQ(page->cbbQuery()->count(), 4);
    EXPECT_EQ(page->cbbQuery()->currentText(), QStringLiteral("商品编号"));
    EXPECT_EQ(page->cbbQuery()->itemText(3), QStringLiteral("单价"));
}

struct SearchCase {
    const char* group;
    const char* item;
    const char* text;
    QStringList codes;
};

TEST_F(GoodsBrowserTest, QuickSearch) {
    Open();
    const SearchCase cases[] = {
        {"全部商品", "商品编号", "   ", {"A01", "A02", "B01", "C01"}}, // blanks only: no condition
        {"全部商品", "商品名称", "汁", {"B01"}},
        {"全部商品", "商品编号", "0", {"A01", "A02", "B01", "C01"}},
        {"全部商品", "商品名称", "O'Neil", {"C01"}}, // the quote is doubled, not a failure
        {"全部商品", "商品名称", "'", {"C01"}},
        {"饮料", "商品编号", "2", {"A02"}},
        {"饮料", "商品名称", "汁", {}},
        {"全部商品", "商品名称", "x'y", {}},
    };
    for (const auto& c : cases) {
        Select(QString::fromUtf8(c.group));
        Search(QString::fromUtf8(c.item), QString::fromUtf8(c.text));
        EXPECT_EQ(Codes(), c.codes) << c.group << " " << c.item << " " << c.text;
    }
    EXPECT_TRUE(messages.shown.empty()) << messages.Texts().join(QLatin1Char('\n')).toStdString();
}

TEST_F(GoodsBrowserTest, ASearchOnAFieldThatIsGoneFailsAndKeepsTheLastResult) {
    AddField(QStringLiteral("颜色"));
    Open();
    ClickGroup(QStringLiteral("饮料"));
    ExecSql(QStringLiteral("delete from AppTitle where TitleName='颜色'") +
            QString::fromLatin1(BatchSeparator) + QStringLiteral("alter table Customer drop COLUMN 颜色 "));
    Search(QStringLiteral("颜色"), QStringLiteral("红"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("数据库查询错误，请检查！")))
        << messages.shown[0].text.toStdString();
    EXPECT_EQ(Codes(), (QStringList{"A01", "A02"}));
}

TEST_F(GoodsBrowserTest, WithoutNumericFieldsTheBarHasFourPanels) {
    AddField(QStringLiteral("颜色"));
    ExecSql(QStringLiteral("update Customer set 库存=5 where GUID='%1'").arg(Guid(1)) +
            QString::fromLatin1(BatchSeparator) +
            QStringLiteral("update Customer set 库存=2.5 where GUID='%1'").arg(Guid(3)));
    Open();
    ClickGroup(QStringLiteral("果汁"));
    // The count is of the rows shown, the stock of every goods in the file (the unlisted one included).
    ExecSql(QStringLiteral("update Customer set 库存=1 where GUID='%1'").arg(Guid(5)));
    ClickGroup(QStringLiteral("果汁"));
    EXPECT_EQ(Panels(), (QStringList{"商品数量：", "1", "库存：", "8.5"}));
    const TStatusPanels* bar = page->stat1();
    EXPECT_EQ(bar->Panel(0)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(bar->Panel(1)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
}

TEST_F(GoodsBrowserTest, NumericFieldSumsAreExactOverTheRowsShown) {
    AddField(QStringLiteral("单价"), 4);
    AddField(QStringLiteral("颜色"));
    AddField(QStringLiteral("重量"), 4);
    const char* prices[] = {"0.1", "0.2", "abc", "1e3"};
    const char* weights[] = {"1234.5", "", "-0.0001", "10"};
    for (int i = 0; i < 4; ++i)
        ExecSql(QStringLiteral("update Customer set 单价='%1',重量='%2' where GUID='%3'")
                    .arg(QString::fromLatin1(prices[i]), QString::fromLatin1(weights[i]), Guid(i + 1)));
    ExecSql(QStringLiteral("update Customer set 单价='5' where GUID='%1'").arg(Guid(5))); // not listed
    Open();
    EXPECT_EQ(Panels(),
              (QStringList{"商品数量：", "4", "库存：", "0", "单价：", "1000.3", "重量：", "1244.4999"}));
    ClickGroup(QStringLiteral("饮料"));
    EXPECT_EQ(Panels(), (QStringList{"商品数量：", "2", "库存：", "0", "单价：", "0.3", "重量：", "1234.5"}));
}

TEST_F(GoodsBrowserTest, ModifyAndDeleteOnAnEmptyGridDoNothing) {
    Open();
    ClickGroup(QStringLiteral("零食"));
    bool dialogOpened = false;
    WhenModal([&] {
        if (QWidget* w = ActiveModal()) {
            dialogOpened = true;
            w->close();
        }
    });
    page->NModCustomer()->trigger();
    emit browser->DBGrid1()->doubleClicked(QModelIndex());
    page->N3()->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(dialogOpened);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Count(), QStringLiteral("5"));
}

TEST_F(GoodsBrowserTest, DeleteAsksWithTheCodeAndDeletesOnYes) {
    Open();
    ClickGroup(QStringLiteral("饮料"));
    browser->DBGrid1()->selectRow(1);
    const QString code = Shown()->Text(1, 2);
    const QString guid = Shown()->Text(1, 0);
    page->N3()->trigger(); // answered No
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("确实要删除：＂%1＂吗?").arg(code)});
    EXPECT_EQ(Count(), QStringLiteral("5"));

    messages.Clear();
    messages.QueueAnswer(true);
    page->N3()->trigger();
    EXPECT_EQ(messages.Texts(),
              (QStringList{QStringLiteral("确实要删除：＂%1＂吗?").arg(code), QStringLiteral("删除成功！")}));
    EXPECT_EQ(Rows(QStringLiteral("select count(*) from Customer where GUID='%1'").arg(guid)),
              QStringList{"0"});
    EXPECT_EQ(Codes().size(), 1);
    EXPECT_EQ(Panels().value(1), QStringLiteral("1"));
}

TEST_F(GoodsBrowserTest, DeletingAGroupWithGoods) {
    Open();
    ClickGroup(QStringLiteral("零食"));
    AddGoods(Guid(6), 3, QStringLiteral("E01"), QStringLiteral("薯片"));
    AddGoods(Guid(7), 3, QStringLiteral("E02"), QStringLiteral("饼干"));
    // No: the group and its goods stay.
    page->NDelIEType()->trigger();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, TMessageKind::Question);
    EXPECT_EQ(Rows(QStringLiteral("select count(*) from CustomerType where SelfIndex=3")), QStringList{"1"});
    EXPECT_EQ(Rows(QStringLiteral("select count(*) from Customer where TypeID=3")), QStringList{"2"});
    ASSERT_NE(Node(QStringLiteral("零食")), nullptr);

    // Yes: the group row, then its goods; one success message; the goods of the node selected afterwards.
    messages.Clear();
    messages.QueueAnswer(true);
    Select(QStringLiteral("零食"));
    page->NDelIEType()->trigger();
    EXPECT_EQ(Rows(QStringLiteral("select count(*) from CustomerType where SelfIndex=3")), QStringList{"0"});
    EXPECT_EQ(Rows(QStringLiteral("select count(*) from Customer where TypeID=3")), QStringList{"0"});
    EXPECT_EQ(messages.Texts().count(QStringLiteral("删除成功！")), 1);
    EXPECT_EQ(Node(QStringLiteral("零食")), nullptr);
    EXPECT_EQ(Count(), QStringLiteral("5"));
    // The listing follows the tree's selection after the deletion.
    const int selected = tree->SelectedGroupIndex();
    QStringList expected;
    for (const QString& row :
         Rows(QStringLiteral("select 商品编号,TypeID from Customer a, CustomerType b where "
                             "a.TypeID=b.SelfIndex")))
        if (selected == 0 || row.section(QLatin1Char('|'), 1) == QString::number(selected))
            expected << row.section(QLatin1Char('|'), 0, 0);
    expected.sort();
    EXPECT_EQ(Codes(), expected) << selected;
}

TEST_F(GoodsBrowserTest, ARenamedGroupShowsInTheGroupColumnAfterTheRefresh) {
    Open();
    ClickGroup(QStringLiteral("饮料"));
    groups->tv1Edited(QStringLiteral("冷饮"));
    ASSERT_EQ(Shown()->RecordCount(), 2);
    EXPECT_EQ(Shown()->Text(0, 1), QStringLiteral("冷饮"));
    EXPECT_EQ(Shown()->Text(1, 1), QStringLiteral("冷饮"));
}

TEST_F(GoodsBrowserTest, NewGoodsFromTheMenusPassTheSelectedGroup) {
    Open();
    struct Case {
        const char* node;
        QAction* action;
        int index;
        const char* text;
    };
    const Case cases[] = {
        {"全部商品", page->N5(), 0, "未分组"},
        {"果汁", page->NAddCustomer(), 2, "果汁"},
    };
    int n = 10;
    for (const auto& c : cases) {
        ClickGroup(QString::fromUtf8(c.node));
        int shownIndex = -1;
        QString shownText;
        const QString code = QStringLiteral("N%1").arg(++n);
        WhenModal([&] {
            auto* d = qobject_cast<TFormAddCustomer*>(ActiveModal());
            ASSERT_NE(d, nullptr);
            shownIndex = d->GroupIndex;
            shownText = d->EdtGoup->text();
            d->edtName->setText(code);
            d->btnOK()->click();
        });
        c.action->trigger();
        EXPECT_EQ(shownIndex, c.index);
        EXPECT_EQ(shownText, QString::fromUtf8(c.text));
        EXPECT_TRUE(Codes().contains(code)) << code.toStdString();
    }
    // With nothing selected the new goods have no group.
    page->tv1()->setCurrentItem(nullptr);
    page->tv1()->clearSelection();
    QString shownText;
    WhenModal([&] {
        auto* d = qobject_cast<TFormAddCustomer*>(ActiveModal());
        ASSERT_NE(d, nullptr);
        shownText = d->EdtGoup->text();
        d->btnCancel()->click();
    });
    page->N5()->trigger();
    EXPECT_EQ(shownText, QStringLiteral("未分组"));
}

TEST_F(GoodsBrowserTest, ModifyFromTheGridRefreshesTheRowsAndTheTotals) {
    AddField(QStringLiteral("单价"), 4);
    ExecSql(QStringLiteral("update Customer set 单价='1.5'"));
    Open();
    ClickGroup(QStringLiteral("饮料"));
    browser->DBGrid1()->selectRow(0);
    const QString guid = Shown()->Text(0, 0);
    WhenModal([&] {
        auto* d = ActiveModal();
        ASSERT_NE(d, nullptr);
        d->findChild<QLineEdit*>(QStringLiteral("edtTel"))->setText(QStringLiteral("改名"));
        d->findChild<QLineEdit*>(QStringLiteral("Ctrl1"))->setText(QStringLiteral("2.25"));
        d->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
    emit browser->DBGrid1()->doubleClicked(browser->DBGrid1()->model()->index(0, 2));
    EXPECT_EQ(Rows(QStringLiteral("select 商品名称 from Customer where GUID='%1'").arg(guid)),
              QStringList{"改名"});
    QStringList names;
    for (int r = 0; r < Shown()->RecordCount(); ++r)
        names << Shown()->Text(r, 3);
    EXPECT_TRUE(names.contains(QStringLiteral("改名")));
    EXPECT_EQ(Panels().mid(4), (QStringList{"单价：", "3.75"}));
}

TEST_F(GoodsBrowserTest, RefreshAndQueryRunTheQueryAgain) {
    Open();
    ClickGroup(QStringLiteral("饮料"));
    AddGoods(Guid(8), 1, QStringLiteral("A03"), QStringLiteral("芬达"));
    page->N9()->trigger();
    EXPECT_EQ(Codes(), (QStringList{"A01", "A02", "A03"}));
    AddGoods(Guid(9), 1, QStringLiteral("A04"), QStringLiteral("苏打水"));
    page->btnQuery()->click();
    EXPECT_EQ(Codes(), (QStringList{"A01", "A02", "A03", "A04"}));
    EXPECT_EQ(Panels().value(1), QStringLiteral("4"));
}

TEST_F(GoodsBrowserTest, ExportWritesTheShownRows) {
    Open();
    const QString file = Dir() + QStringLiteral("goods");
    dialogs.QueueFileName(file);
    page->Excel1()->trigger();
    EXPECT_TRUE(QFileInfo::exists(file + QStringLiteral(".xlsx")));
    EXPECT_EQ(messages.Texts().value(0), QStringLiteral("导出数据到%1.xlsx成功!").arg(file));
}

TEST_F(GoodsBrowserTest, TheStockAndHistoryButtonsStayDisabled) {
    Open();
    for (QToolButton* w : {page->ToolButtonCZ(), page->btn4(), page->btn6(), page->btn8()})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
}

} // namespace

namespace {

TEST_F(GoodsBrowserTest, TheFieldListButtonOpensTheFieldListWindow) {
    Open();
    ASSERT_TRUE(page->ToolButtonHY()->isEnabled());
    QString opened;
    WhenModal([&] {
        QWidget* w = ActiveModal();
        ASSERT_NE(w, nullptr);
        opened = QString::fromLatin1(w->metaObject()->className());
        w->close();
    });
    page->ToolButtonHY()->click();
    EXPECT_EQ(opened, QStringLiteral("TFormCustomerDIY"));
}

} // namespace
