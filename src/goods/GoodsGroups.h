#pragma once
// The group commands of the goods page's tree: "新建组", "重命名组", "删除组".
#include <QObject>
#include <functional>

class TCardTree;
class TGoodsPage;

class TGoodsGroupCommands : public QObject {
    Q_OBJECT
public:
    // page owns this object; tree is the main window's goods tree over the page's tv1.
    TGoodsGroupCommands(TGoodsPage* page, TCardTree* tree);

    // Runs the goods query for the selected group; the goods browser plugs it in.
    std::function<void()> QueryGoods;

    void NAddIETypeClick();
    void NModIeTypeClick();
    void NDelIETypeClick();
    // The end of a label edit with a changed text.
    void tv1Edited(const QString& newText);

private:
    void RunQueryGoods();
    TGoodsPage* m_page;
    TCardTree* m_tree;
};
