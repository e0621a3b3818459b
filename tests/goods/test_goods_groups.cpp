#include "data/MD.h"
#include "goods/GoodsGroups.h"
#include "goods/GoodsPage.h"
#include "support/GuiTestSupport.h"
#include "tree/AddType.h"
#include "tree/UntTree.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <memory>

namespace {
class GoodsGroupsTest : public TDataFileTest {
protected:
    void SetUp() override {
        TDataFileTest::SetUp();
        Group(1, 0, QStringLiteral("饮料"));
        Group(2, 1, QStringLiteral("Men's"));
        Group(3, 0, QStringLiteral("零食"));
        Goods(QStringLiteral("G1"), 2);
        Goods(QStringLiteral("G2"), 2);
        Goods(QStringLiteral("G3"), 3);
        Goods(QStringLiteral("G4"), 0);
        page = std::make_unique<TGoodsPage>();
        tree = std::make_unique<TCardTree>(page->tv1(), QStringLiteral("全部商品"),
                                           QStringLiteral("Customertype"));
        commands = new TGoodsGroupCommands(page.get(), tree.get());
        commands->QueryGoods = [this] { ++queries; };
        tree->LoadGroups();
        page->tv1()->expandAll();
    }
    void TearDown() override {
        page.reset();
        tree.reset();
        TDataFileTest::TearDown();
    }
    void Group(int self, int parent, const QString& name) {
        ExecSql(QStringLiteral("insert into CustomerType(SelfIndex,ParentIndex,TypeName) values (%1,%2,'%3')")
                    .arg(QString::number(self), QString::number(parent), QuotedSql(name)));
    }
    void Goods(const QString& guid, int typeId) {
        ExecSql(
            QStringLiteral("insert into Customer([GUID],TypeID,商品编号,商品名称) values ('%1',%2,'%1','%1')")
                .arg(guid, QString::number(typeId)));
    }
    QStringList GoodsLeft() {
        return Rows(QStringLiteral("select [GUID],TypeID from Customer order by [GUID]"));
    }
    QTreeWidgetItem* Node(const QString& name) const {
        const auto found = page->tv1()->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }

    std::unique_ptr<TGoodsPage> page;
    std::unique_ptr<TCardTree> tree;
    TGoodsGroupCommands* commands = nullptr;
    int queries = 0;
};
} // namespace

TEST_F(GoodsGroupsTest, DeletingAGroupDeletesItsGoodsAfterYes) {
    const QStringList all{QStringLiteral("G1|2"), QStringLiteral("G2|2"), QStringLiteral("G3|3"),
                          QStringLiteral("G4|0")};
    page->NDelIEType()->trigger(); // nothing selected: nothing happens
    EXPECT_TRUE(messages.shown.empty());

    page->tv1()->setCurrentItem(Node(QStringLiteral("Men's")));
    page->NDelIEType()->trigger(); // answered No
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("确定要删除 Men's 分组吗？")});
    EXPECT_EQ(GoodsLeft(), all);
    EXPECT_EQ(queries, 0);

    messages.Clear();
    messages.QueueAnswer(true);
    page->NDelIEType()->trigger();
    EXPECT_EQ(messages.Texts(),
              (QStringList{QStringLiteral("确定要删除 Men's 分组吗？"), QStringLiteral("删除成功！")}));
    EXPECT_EQ(GoodsLeft(), (QStringList{QStringLiteral("G3|3"), QStringLiteral("G4|0")}));
    EXPECT_EQ(Rows(QStringLiteral("select SelfIndex from CustomerType order by SelfIndex")),
              (QStringList{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("3")}));
    EXPECT_EQ(Node(QStringLiteral("Men's")), nullptr);
    EXPECT_EQ(queries, 1);
}

TEST_F(GoodsGroupsTest, RefusedDeleteKeepsGroupAndGoods) {
    page->tv1()->setCurrentItem(Node(QStringLiteral("饮料")));
    page->NDelIEType()->trigger();
    page->tv1()->setCurrentItem(tree->RootNode);
    page->NDelIEType()->trigger();
    EXPECT_EQ(messages.Texts(), (QStringList{QStringLiteral("还有下级分组，不能删除该分组！"),
                                             QStringLiteral("不能删除根分组！")}));
    EXPECT_EQ(GoodsLeft().size(), 4);
    EXPECT_EQ(QueryInt(QStringLiteral("select count(*) from CustomerType")), 4);
    EXPECT_EQ(queries, 0);
}

TEST_F(GoodsGroupsTest, NewGroupQueriesTheGoodsOfTheNewGroup) {
    page->tv1()->setCurrentItem(Node(QStringLiteral("零食")));
    WhenModal([&] {
        auto* dialog = qobject_cast<TFormAddType*>(ActiveModal());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->edtPos->text(), QStringLiteral("全部商品->零食"));
        dialog->edtName->setText(QStringLiteral("薯片"));
        dialog->btnOK()->click();
    });
    page->NAddIEType()->trigger();
    EXPECT_EQ(queries, 1);
    EXPECT_EQ(tree->SelectedGroupIndex(), 4);
    EXPECT_EQ(Rows(QStringLiteral("select ParentIndex,TypeName from CustomerType where SelfIndex=4")),
              QStringList{QStringLiteral("3|薯片")});

    // Cancelled: no query.
    WhenModal([&] {
        if (auto* dialog = qobject_cast<TFormAddType*>(ActiveModal())) dialog->btnCancel()->click();
    });
    page->NAddIEType()->trigger();
    EXPECT_EQ(queries, 1);
}

TEST_F(GoodsGroupsTest, RenameInPlaceShowsTheNewNameInTheGrid) {
    gDbAccess->OpenGrid(
        QStringLiteral("select a.GUID,b.TypeName as 所属分组 from Customer a, CustomerType b  where "
                       "a.TypeID=b.SelfIndex and a.TypeID=2"),
        nullptr);
    page->tv1()->setCurrentItem(Node(QStringLiteral("Men's")));
    QTimer::singleShot(0, [&] {
        auto* editor = page->tv1()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->text(), QStringLiteral("Men's"));
        editor->setText(QStringLiteral("Women's"));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(editor, &enter);
    });
    page->NModIeType()->trigger();
    EXPECT_EQ(Rows(QStringLiteral("select TypeName from CustomerType where SelfIndex=2")),
              QStringList{QStringLiteral("Women's")});
    EXPECT_EQ(tree->Selected()->text(0), QStringLiteral("Women's"));
    TResultSet* grid = gDbAccess->GridData;
    ASSERT_EQ(grid->RecordCount(), 2);
    EXPECT_EQ(grid->Text(0, 1), QStringLiteral("Women's"));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(GoodsGroupsTest, RenameInPlaceSkipsAnUnchangedNameAndRefusesAnExistingOne) {
    struct Case {
        QString typed;
        QStringList messages;
    };
    const Case cases[] = {
        {QStringLiteral("Men's"), {}}, // unchanged: nothing is asked of the tree
        {QStringLiteral("零食"), {QStringLiteral("该名称已经存在，请重新输入！")}},
        {QStringLiteral("全部商品"), {QStringLiteral("该名称已经存在，请重新输入！")}},
    };
    page->tv1()->setCurrentItem(Node(QStringLiteral("Men's")));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        messages.Clear();
        QTimer::singleShot(0, [&] {
            auto* editor = page->tv1()->findChild<QLineEdit*>();
            ASSERT_NE(editor, nullptr);
            editor->setText(c.typed);
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(editor, &enter);
        });
        page->NModIeType()->trigger();
        EXPECT_EQ(messages.Texts(), c.messages);
        EXPECT_EQ(tree->Selected()->text(0), QStringLiteral("Men's"));
        EXPECT_EQ(Rows(QStringLiteral("select TypeName from CustomerType where SelfIndex=2")),
                  QStringList{QStringLiteral("Men's")});
    }
}
