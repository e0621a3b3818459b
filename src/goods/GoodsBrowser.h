#pragma once
// The goods page's behaviour: the grid of the selected group's goods, the totals, the quick search and the
// goods commands of both context menus.
#include "common/Currency.h"

#include <QObject>

class TCardDBGrid;
class TCardTree;
class TGoodsPage;

class TGoodsBrowser : public QObject {
    Q_OBJECT
public:
    // Puts the goods grid DBGrid1 into the page and connects the page's controls. tree is the main window's
    // goods tree over the page's tv1; the page owns the browser.
    TGoodsBrowser(TGoodsPage* page, TCardTree* tree);

    TCardDBGrid* DBGrid1() const { return m_grid; }

    // The quick-search items, the first one selected; done once, at the main window's first show.
    void FillQueryItems();
    // The goods of the selected group that match the search, shown in the grid; then the totals.
    void QueryGoods();
    void ShowTotals();
    void ShowCountAndStock();

    // Handlers of the page's events.
    void tv1Click();
    void btnQueryClick();
    void N9Click();           // 刷新
    void NAddCustomerClick(); // 新建商品, both menus
    void NModCustomerClick(); // 修改, and a double click on the grid
    void N3Click();           // 删除
    void Excel1Click();       // 导出Excel
    void ToolButtonHYClick(); // 自定义商品资料

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Row of the grid's current record; -1 when the grid shows no rows.
    int CurrentRow() const;

    TGoodsPage* m_page;
    // The group tree's view, kept apart so that its events can be told without asking the page (which may be
    // half destroyed while its children go).
    QObject* m_treeView;
    TCardTree* m_tree;
    TCardDBGrid* m_grid;
    int m_queriedGroup = -1;
};
