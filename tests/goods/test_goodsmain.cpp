// The goods page inside the main window: its first show and the posted refresh.
#include "app/FormMain.h"
#include "common/StatusPanels.h"
#include "common/WindowMessages.h"
#include "controls/CardDBGrid.h"
#include "data/MD.h"
#include "goods/GoodsPage.h"
#include "goods/GoodsTestData.h"
#include "support/TestFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QTimer>
#include <QTreeWidget>
#include <memory>

using namespace goods_test;

namespace {

class GoodsMainTest : public TDataFileTest {
protected:
    void SetUp() override {
        TDataFileTest::SetUp();
        AddField(QStringLiteral("单价"), 4);
        AddGroup(1, 0, QStringLiteral("饮料"));
        AddGoods(Guid(1), 1, QStringLiteral("A01"), QStringLiteral("可乐"), QStringLiteral("单价"),
                 QStringLiteral("'0.1'"));
        AddGoods(Guid(2), 0, QStringLiteral("B01"), QStringLiteral("盐"), QStringLiteral("单价"),
                 QStringLiteral("'0.2'"));
        form = std::make_unique<TFormMain>();
        form->tmrHint()->stop();
    }
    void TearDown() override {
        form.reset();
        TDataFileTest::TearDown();
    }
    TCardDBGrid* Grid() const { return form->findChild<TCardDBGrid*>(QStringLiteral("DBGrid1")); }
    QStringList Panels() const {
        QStringList out;
        for (int i = 0; i < form->ts1()->stat1()->PanelCount(); ++i)
            out << form->ts1()->stat1()->PanelText(i);
        return out;
    }
    QStringList Codes() const {
        QStringList out;
        for (int r = 0; r < Grid()->DataSet()->RecordCount(); ++r)
            out << Grid()->DataSet()->Text(r, 2);
        out.sort();
        return out;
    }
    std::unique_ptr<TFormMain> form;
};

TEST_F(GoodsMainTest, TheFirstShowFillsTheSearchItemsAndListsTheGoods) {
    ASSERT_NE(Grid(), nullptr);
    form->show();
    QStringList items;
    for (int i = 0; i < form->ts1()->cbbQuery()->count(); ++i)
        items << form->ts1()->cbbQuery()->itemText(i);
    EXPECT_EQ(items, (QStringList{"商品编号", "商品名称", "单价"}));
    EXPECT_EQ(form->ts1()->cbbQuery()->currentIndex(), 0);
    ASSERT_NE(Grid()->DataSet(), nullptr);
    EXPECT_EQ(Grid()->DataSet()->RecordCount(), 2);
    EXPECT_TRUE(Grid()->isColumnHidden(0));
    EXPECT_EQ(Panels(), (QStringList{"商品数量：", "2", "库存：", "0", "单价：", "0.3"}));
    EXPECT_TRUE(messages.shown.empty()) << messages.Texts().join(QLatin1Char('\n')).toStdString();
}

TEST_F(GoodsMainTest, APostedRefreshRunsTheQueryWithTheCurrentGroup) {
    form->show();
    QTreeWidget* tv1 = form->ts1()->tv1();
    const auto found = tv1->findItems(QStringLiteral("饮料"), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1);
    tv1->setCurrentItem(found.first());
    AddGoods(Guid(3), 1, QStringLiteral("A02"), QStringLiteral("雪碧"), QStringLiteral("单价"),
             QStringLiteral("'2'"));
    PostToMainWindow(WM_REFRESHGOODS);
    EXPECT_EQ(Codes(), (QStringList{"A01", "B01"})); // handled later, not while posting
    QApplication::sendPostedEvents();
    EXPECT_EQ(Codes(), (QStringList{"A01", "A02"}));
    EXPECT_EQ(Panels(), (QStringList{"商品数量：", "2", "库存：", "0", "单价：", "2.1"}));
}

TEST_F(GoodsMainTest, ClosingTheWindowLeavesThePageQuiet) {
    form->show();
    form->close();
    // Events after the trees are gone reach nothing that used them.
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(form->ts1()->tv1(), &release);
    form.reset();
    EXPECT_TRUE(messages.shown.empty()) << messages.Texts().join(QLatin1Char('\n')).toStdString();
}

} // namespace
