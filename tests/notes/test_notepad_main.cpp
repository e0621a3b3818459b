#include "app/FormMain.h"
#include "data/MD.h"
#include "goods/GoodsPage.h"
#include "notes/NotePad.h"
#include "notes/NotePage.h"
#include "support/TestFixture.h"
#include "tree/UntTree.h"

#include <QPlainTextEdit>
#include <QTreeWidget>
#include <memory>

class NotepadMainTest : public TDataFileTest {};

TEST_F(NotepadMainTest, FirstShowLoadsBothTreesAndShowsTheRootNote) {
    ExecSql(QStringLiteral("insert into CustomerType(SelfIndex,ParentIndex,TypeName) values (1,0,'饮料')") +
            QLatin1String(BatchSeparator) +
            QStringLiteral("insert into NoteType(SelfIndex,ParentIndex,TypeName) values (1,0,'工作')"));
    gDbAccess->OpenQuery(QStringLiteral("select * from NoteBook where 1<>1"));
    gDbAccess->QueryData->Append();
    gDbAccess->QueryData->SetFieldValue(QStringLiteral("TypeID"), 0);
    gDbAccess->QueryData->SetFieldValue(QStringLiteral("ReMark"), QStringLiteral("根目录的记事"));
    gDbAccess->QueryData->Post();

    auto form = std::make_unique<TFormMain>();
    ASSERT_NE(form->GoodsTree, nullptr);
    ASSERT_NE(form->NoteTree, nullptr);
    EXPECT_EQ(form->GoodsTree->TreeView, form->ts1()->tv1());
    EXPECT_EQ(form->NoteTree->TreeView, form->ts2()->tvNote());
    form->show();

    QTreeWidget* tv1 = form->ts1()->tv1();
    ASSERT_EQ(tv1->topLevelItemCount(), 1);
    EXPECT_EQ(tv1->topLevelItem(0)->text(0), QStringLiteral("全部商品"));
    ASSERT_EQ(tv1->topLevelItem(0)->childCount(), 1);
    EXPECT_EQ(tv1->topLevelItem(0)->child(0)->text(0), QStringLiteral("饮料"));

    QTreeWidget* tvNote = form->ts2()->tvNote();
    EXPECT_EQ(tvNote->topLevelItem(0)->text(0), QStringLiteral("根目录"));
    EXPECT_EQ(form->NoteTree->Selected(), form->NoteTree->RootNode);
    EXPECT_EQ(form->ts2()->mmoNote()->toPlainText(), QStringLiteral("根目录的记事"));
    EXPECT_TRUE(messages.shown.empty()) << messages.Texts().join(QLatin1Char('\n')).toStdString();

    form->ts2()->mmoNote()->appendPlainText(QStringLiteral("再加一行"));
    EXPECT_EQ(Rows(QStringLiteral("select ReMark from NoteBook where TypeID=0")),
              QStringList{QStringLiteral("根目录的记事\n再加一行")});

    form->close();
    EXPECT_EQ(form->GoodsTree, nullptr);
    EXPECT_EQ(form->NoteTree, nullptr);
    EXPECT_EQ(form->NotePad, nullptr);
    EXPECT_EQ(form->GoodsGroups, nullptr);
    EXPECT_EQ(tvNote->topLevelItemCount(), 0);
    form.reset();
}
