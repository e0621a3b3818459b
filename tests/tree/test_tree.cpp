#include "common/UException.h"
#include "data/MD.h"
#include "support/GuiTestSupport.h"
#include "tree/AddType.h"
#include "tree/UntTree.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <memory>

namespace {
const QString kExists = QStringLiteral("该名称已经存在，请重新输入！");

class TreeTest : public TDataFileTest {
protected:
    void SetUp() override {
        TDataFileTest::SetUp();
        view = std::make_unique<QTreeWidget>();
        tree = std::make_unique<TCardTree>(view.get(), QStringLiteral("全部商品"),
                                           QStringLiteral("Customertype"));
    }
    void TearDown() override {
        tree.reset();
        view.reset();
        TDataFileTest::TearDown();
    }
    void Insert(int self, int parent, const QString& name,
                const QString& table = QStringLiteral("CustomerType")) {
        ExecSql(QStringLiteral("insert into %1(SelfIndex,ParentIndex,TypeName) values (%2,%3,'%4')")
                    .arg(table, QString::number(self), QString::number(parent), QuotedSql(name)));
    }
    QTreeWidgetItem* Find(const QString& name) const {
        const auto found = view->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }
    void Select(QTreeWidgetItem* node) { view->setCurrentItem(node); }
    QStringList Stored() {
        return Rows(
            QStringLiteral("select SelfIndex,ParentIndex,TypeName from CustomerType where SelfIndex<>0 "
                           "order by SelfIndex"));
    }
    // The tree as text: each node's name with its children in brackets, depth first.
    static QString Shape(const QTreeWidgetItem* node) {
        QString s = node->text(0);
        if (node->childCount() > 0) {
            QStringList children;
            for (int i = 0; i < node->childCount(); ++i)
                children << Shape(node->child(i));
            s += QLatin1Char('[') + children.join(QLatin1Char(',')) + QLatin1Char(']');
        }
        return s;
    }
    // Expects f to raise a plain error with the given message.
    template <class F> static void ExpectError(F f, const QString& message) {
        try {
            f();
            ADD_FAILURE() << "no error raised, expected " << message.toStdString();
        } catch (const EDBException& e) {
            ADD_FAILURE() << "database error: " << e.Message().toStdString();
        } catch (const EAppError& e) {
            EXPECT_EQ(e.Message(), message);
        }
    }

    std::unique_ptr<QTreeWidget> view;
    std::unique_ptr<TCardTree> tree;
};
} // namespace

TEST_F(TreeTest, EmptyTableGivesTheRootAlone) {
    tree->LoadGroups();
    ASSERT_EQ(view->topLevelItemCount(), 1);
    EXPECT_EQ(view->topLevelItem(0), tree->RootNode);
    EXPECT_EQ(tree->RootNode->text(0), QStringLiteral("全部商品"));
    EXPECT_EQ(tree->RootNode->childCount(), 0);
    EXPECT_EQ(tree->SelectedGroupIndex(), 0);
    EXPECT_EQ(tree->Selected(), nullptr);
    EXPECT_EQ(tree->MaxGroupIndex(), 0);
    const TGroupNodeData root = TCardTree::NodeData(tree->RootNode);
    EXPECT_EQ(root.SelfIndex, 0);
    EXPECT_EQ(root.ParentIndex, 0);
    EXPECT_EQ(TCardTree::ImageIndex(tree->RootNode), 0);
}

TEST_F(TreeTest, LoadsParentsBeforeChildrenInCreationOrder) {
    // Inserted out of order on purpose: loading goes by SelfIndex, not by the order of the rows.
    Insert(5, 2, QStringLiteral("果汁"));
    Insert(2, 0, QStringLiteral("饮料"));
    Insert(9, 5, QStringLiteral("橙汁"));
    Insert(3, 2, QStringLiteral("茶"));
    Insert(1, 0, QStringLiteral("零食"));
    Insert(7, 0, QStringLiteral("日用"));
    tree->LoadGroups();
    EXPECT_EQ(Shape(tree->RootNode), QStringLiteral("全部商品[零食,饮料[茶,果汁[橙汁]],日用]"));
    EXPECT_TRUE(tree->RootNode->isExpanded());
    EXPECT_FALSE(Find(QStringLiteral("饮料"))->isExpanded());
    EXPECT_EQ(tree->MaxGroupIndex(), 9);
    const TGroupNodeData juice = TCardTree::NodeData(Find(QStringLiteral("果汁")));
    EXPECT_EQ(juice.SelfIndex, 5);
    EXPECT_EQ(juice.ParentIndex, 2);
    QTreeWidgetItem* tea = Find(QStringLiteral("茶"));
    EXPECT_EQ(TCardTree::ImageIndex(tea), 1);
    EXPECT_EQ(TCardTree::SelectedImageIndex(tea), 2);
    EXPECT_EQ(tea->icon(0).pixmap(16, QIcon::Normal).toImage(), TCardTree::NodeImage(1).toImage());
    EXPECT_EQ(tea->icon(0).pixmap(16, QIcon::Selected).toImage(), TCardTree::NodeImage(2).toImage());
    EXPECT_NE(TCardTree::NodeImage(0).toImage(), TCardTree::NodeImage(1).toImage());

    // Loading again yields the same tree.
    Select(tea);
    tree->LoadGroups();
    EXPECT_EQ(Shape(tree->RootNode), QStringLiteral("全部商品[零食,饮料[茶,果汁[橙汁]],日用]"));
}

TEST_F(TreeTest, RowWithoutParentHangsUnderTheRoot) {
    Insert(1, 0, QStringLiteral("饮料"));
    Insert(4, 3, QStringLiteral("孤儿"));
    tree->LoadGroups();
    EXPECT_EQ(Shape(tree->RootNode), QStringLiteral("全部商品[饮料,孤儿]"));
}

TEST_F(TreeTest, NumbersNewGroupsAboveEveryIndex) {
    tree->LoadGroups();
    Select(tree->RootNode);
    QTreeWidgetItem* first = tree->AddGroup(QStringLiteral("饮料"));
    EXPECT_EQ(Stored(), QStringList{QStringLiteral("1|0|饮料")});
    EXPECT_EQ(first->parent(), tree->RootNode);
    EXPECT_EQ(TCardTree::NodeData(first).SelfIndex, 1);

    // Under group 7 while groups up to 12 exist.
    for (int i = 2; i <= 12; ++i)
        Insert(i, i == 8 ? 7 : 0, QStringLiteral("G%1").arg(i));
    tree->LoadGroups();
    Select(Find(QStringLiteral("G7")));
    QTreeWidgetItem* added = tree->AddGroup(QStringLiteral("新组"));
    EXPECT_EQ(Rows(QStringLiteral("select SelfIndex,ParentIndex from CustomerType where TypeName='新组'")),
              QStringList{QStringLiteral("13|7")});
    EXPECT_EQ(added->parent(), Find(QStringLiteral("G7")));
    EXPECT_TRUE(Find(QStringLiteral("G7"))->isExpanded());
    EXPECT_EQ(Shape(Find(QStringLiteral("G7"))), QStringLiteral("G7[G8,新组]"));
}

TEST_F(TreeTest, NothingSelectedAddsUnderTheRoot) {
    Insert(1, 0, QStringLiteral("饮料"));
    tree->LoadGroups();
    QTreeWidgetItem* node = tree->AddGroup(QStringLiteral("零食"));
    EXPECT_EQ(node->parent(), tree->RootNode);
    EXPECT_EQ(Stored().last(), QStringLiteral("2|0|零食"));
}

TEST_F(TreeTest, TwoTreesOverOneTableNeverShareAnIndex) {
    QTreeWidget pickerView;
    TCardTree picker(&pickerView, QStringLiteral("全部"), QStringLiteral("CustomerType"));
    tree->LoadGroups();
    picker.LoadGroups();
    Select(tree->RootNode);
    pickerView.setCurrentItem(picker.RootNode);
    picker.AddGroup(QStringLiteral("饮料"));
    picker.AddGroup(QStringLiteral("零食"));
    // The main tree has not seen those two groups.
    tree->AddGroup(QStringLiteral("日用"));
    EXPECT_EQ(Stored(), (QStringList{QStringLiteral("1|0|饮料"), QStringLiteral("2|0|零食"),
                                     QStringLiteral("3|0|日用")}));
    // Nor may it add a name the other tree stored meanwhile.
    ExpectError([&] { tree->AddGroup(QStringLiteral("饮料")); }, kExists);
    EXPECT_EQ(Stored().size(), 3);
}

TEST_F(TreeTest, DuplicateNamesAreRefusedOnEveryLevel) {
    Insert(1, 0, QStringLiteral("饮料"));
    Insert(2, 1, QStringLiteral("果汁"));
    Insert(3, 2, QStringLiteral("橙汁"));
    tree->LoadGroups();
    struct Case {
        QString name;
        bool refused;
    };
    const Case cases[] = {
        {QStringLiteral("全部商品"), true},                                 // the root's caption
        {QStringLiteral("饮料"), true},     {QStringLiteral("橙汁"), true}, // two levels further down
        {QStringLiteral(" 饮料"), false}, // a leading blank makes another name
        {QStringLiteral("Cola"), false},    {QStringLiteral("cola"), false}, // letter case counts
    };
    Select(Find(QStringLiteral("果汁")));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        EXPECT_EQ(tree->GroupNameExists(c.name), c.refused);
        const int before = Stored().size();
        if (c.refused) {
            ExpectError([&] { tree->AddGroup(c.name); }, kExists);
            EXPECT_EQ(Stored().size(), before);
        } else {
            tree->AddGroup(c.name);
            EXPECT_EQ(Stored().size(), before + 1);
            EXPECT_TRUE(tree->GroupNameExists(c.name));
        }
    }
}

TEST_F(TreeTest, RenameWritesTheNameAndRefusesDuplicates) {
    Insert(1, 0, QStringLiteral("饮料"));
    Insert(2, 1, QStringLiteral("果汁"));
    tree->LoadGroups();
    Select(Find(QStringLiteral("果汁")));
    ExpectError([&] { tree->RenameGroup(QStringLiteral("果汁")); }, kExists); // its own name
    ExpectError([&] { tree->RenameGroup(QStringLiteral("饮料")); }, kExists);
    ExpectError([&] { tree->RenameGroup(QStringLiteral("全部商品")); }, kExists);
    EXPECT_EQ(Stored(), (QStringList{QStringLiteral("1|0|饮料"), QStringLiteral("2|1|果汁")}));
    tree->RenameGroup(QStringLiteral("鲜榨果汁"));
    EXPECT_EQ(Stored(), (QStringList{QStringLiteral("1|0|饮料"), QStringLiteral("2|1|鲜榨果汁")}));
    EXPECT_EQ(tree->Selected()->text(0), QStringLiteral("鲜榨果汁"));
}

TEST_F(TreeTest, DeleteRefusesInOrderAndAsksFirst) {
    Insert(1, 0, QStringLiteral("饮料"));
    Insert(2, 1, QStringLiteral("果汁"));
    tree->LoadGroups();
    ExpectError([&] { tree->DeleteGroup(); }, QStringLiteral("请选择要删除的分组！"));
    Select(tree->RootNode); // the root has children too: its own refusal comes first
    ExpectError([&] { tree->DeleteGroup(); }, QStringLiteral("不能删除根分组！"));
    Select(Find(QStringLiteral("饮料")));
    ExpectError([&] { tree->DeleteGroup(); }, QStringLiteral("还有下级分组，不能删除该分组！"));
    EXPECT_TRUE(messages.shown.empty()); // no question before the refusals

    Select(Find(QStringLiteral("果汁")));
    EXPECT_THROW(tree->DeleteGroup(), EAbort); // answered No
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("确定要删除 果汁 分组吗？")});
    EXPECT_EQ(messages.shown.front().kind, TMessageKind::Question);
    EXPECT_EQ(Stored().size(), 2);
    EXPECT_NE(Find(QStringLiteral("果汁")), nullptr);

    messages.QueueAnswer(true);
    tree->DeleteGroup();
    EXPECT_EQ(Stored(), QStringList{QStringLiteral("1|0|饮料")});
    EXPECT_EQ(Find(QStringLiteral("果汁")), nullptr);

    // With its sub-group gone, the group itself can go.
    Select(Find(QStringLiteral("饮料")));
    messages.QueueAnswer(true);
    tree->DeleteGroup();
    EXPECT_TRUE(Stored().isEmpty());
    EXPECT_EQ(Shape(tree->RootNode), QStringLiteral("全部商品"));
}

TEST_F(TreeTest, NamesWithSingleQuotesWorkEverywhere) {
    tree->LoadGroups();
    Select(tree->RootNode);
    tree->AddGroup(QStringLiteral("Men's"));
    Select(tree->RootNode);
    tree->AddGroup(QStringLiteral("儿童's"));
    EXPECT_EQ(Stored(), (QStringList{QStringLiteral("1|0|Men's"), QStringLiteral("2|0|儿童's")}));

    // Found again after a reload, and so refused a second time.
    tree->LoadGroups();
    ASSERT_NE(Find(QStringLiteral("Men's")), nullptr);
    EXPECT_TRUE(tree->GroupNameExists(QStringLiteral("Men's")));
    ExpectError([&] { tree->AddGroup(QStringLiteral("Men's")); }, kExists);

    Select(Find(QStringLiteral("Men's")));
    tree->RenameGroup(QStringLiteral("Women's 'n' Men's"));
    EXPECT_EQ(Stored().first(), QStringLiteral("1|0|Women's 'n' Men's"));

    messages.QueueAnswer(true);
    tree->DeleteGroup();
    EXPECT_EQ(messages.Texts().last(), QStringLiteral("确定要删除 Women's 'n' Men's 分组吗？"));
    EXPECT_EQ(Stored(), QStringList{QStringLiteral("2|0|儿童's")});
}

TEST_F(TreeTest, FailedInsertAddsNoNode) {
    QTreeWidget otherView;
    TCardTree broken(&otherView, QStringLiteral("根目录"), QStringLiteral("NoSuchTable"));
    otherView.setCurrentItem(broken.RootNode);
    EXPECT_THROW(broken.AddGroup(QStringLiteral("x")), EDBException);
    EXPECT_EQ(broken.RootNode->childCount(), 0);
}

TEST_F(TreeTest, NewGroupWithoutSelectionShowsNothing) {
    tree->LoadGroups();
    bool dialogShown = false;
    WhenModal([&] {
        if (QWidget* w = ActiveModal()) {
            dialogShown = true;
            w->close();
        }
    });
    EXPECT_FALSE(tree->NewGroup());
    QCoreApplication::processEvents();
    EXPECT_FALSE(dialogShown);
    EXPECT_TRUE(Stored().isEmpty());
}

TEST_F(TreeTest, NewGroupAsksWithThePathAndSelectsTheGroup) {
    Insert(1, 0, QStringLiteral("饮料"));
    Insert(2, 1, QStringLiteral("果汁"));
    tree->LoadGroups();
    Select(Find(QStringLiteral("果汁")));
    QString shownPosition;
    WhenModal([&] {
        auto* dialog = qobject_cast<TFormAddType*>(ActiveModal());
        ASSERT_NE(dialog, nullptr);
        shownPosition = dialog->edtPos->text();
        dialog->edtName->setText(QStringLiteral("橙汁"));
        dialog->btnOK()->click();
    });
    EXPECT_TRUE(tree->NewGroup());
    EXPECT_EQ(shownPosition, QStringLiteral("全部商品->饮料->果汁"));
    EXPECT_EQ(Stored().last(), QStringLiteral("3|2|橙汁"));
    ASSERT_NE(tree->Selected(), nullptr);
    EXPECT_EQ(tree->Selected()->text(0), QStringLiteral("橙汁"));
    EXPECT_EQ(tree->SelectedGroupIndex(), 3);

    // The root alone shows its caption; Cancel adds nothing.
    Select(tree->RootNode);
    WhenModal([&] {
        auto* dialog = qobject_cast<TFormAddType*>(ActiveModal());
        ASSERT_NE(dialog, nullptr);
        shownPosition = dialog->edtPos->text();
        dialog->edtName->setText(QStringLiteral("零食"));
        dialog->btnCancel()->click();
    });
    EXPECT_FALSE(tree->NewGroup());
    EXPECT_EQ(shownPosition, QStringLiteral("全部商品"));
    EXPECT_EQ(Stored().size(), 3);
}
