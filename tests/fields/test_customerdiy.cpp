#include "common/WindowMessages.h"
#include "data/MD.h"
#include "fields/AddTitle.h"
#include "fields/BaseDIY.h"
#include "fields/CustomerDIY.h"
#include "fields/ModTitle.h"
#include "support/GuiTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace {

// Stands in for the main window and counts the messages posted to it.
class TMessageCounter : public QObject {
public:
    bool event(QEvent* e) override {
        if (TPostedMessage::IsPostedMessage(e)) {
            received << static_cast<TPostedMessage*>(e)->Message;
            return true;
        }
        return QObject::event(e);
    }
    QList<int> received;
};

QStringList ListRows(QTreeWidget* lv) {
    QStringList rows;
    for (int i = 0; i < lv->topLevelItemCount(); ++i) {
        QStringList cells;
        for (int c = 0; c < lv->columnCount(); ++c)
            cells << lv->topLevelItem(i)->text(c);
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

} // namespace

class CustomerDIYTest : public TDataFileTest {
protected:
    void SetUp() override {
        TDataFileTest::SetUp();
        MainWindowTarget() = &mainWindow;
    }
    void TearDown() override {
        MainWindowTarget() = nullptr;
        TDataFileTest::TearDown();
    }
    void AddField(const QString& name, int type, const QString& values = QString(), bool bt = false,
                  bool wy = false) {
        SaveNewTitle({name, type, values, bt, wy});
    }
    QList<int> Posted() {
        QCoreApplication::sendPostedEvents(&mainWindow);
        return mainWindow.received;
    }
    void Select(TFormCustomerDIY& w, int row) { w.lv1->setCurrentItem(w.lv1->topLevelItem(row)); }
    TMessageCounter mainWindow;
};

TEST_F(CustomerDIYTest, ListShowsDefinitions) {
    ExecSql(
        "insert into AppTitle(TitleName,TitleType,TitleValues,Titlebt,Titlewy) values ('怪',7,'','0','0')");
    AddField("文本", tkText, "默认", true, false);
    AddField("列表", tkList, "A%#%B%#%", false, true);
    AddField("记忆", tkMemoryList);
    AddField("日期", tkDate, "date()", true, true);
    AddField("数字", tkNumber, "0");
    TFormCustomerDIY w;
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("自定义商品资料"));
    EXPECT_EQ(w.lv1->headerItem()->text(4), QStringLiteral("是否唯一"));
    EXPECT_EQ(ListRows(w.lv1), (QStringList{"怪|7||否|否", "文本|标准文本框|默认|是|否",
                                            "列表|标准下拉框|A%#%B%#%|否|是", "记忆|记忆下拉框||否|否",
                                            "日期|日期选择框|date()|是|是", "数字|数字文本框|0|否|否"}));
}

TEST_F(CustomerDIYTest, ClosingWithoutChangePostsNothing) {
    AddField("文本", tkText);
    {
        TFormCustomerDIY w;
        w.show();
        w.btnModifyClick(); // no row selected: nothing happens
        messages.QueueAnswer(false);
        Select(w, 0);
        w.btnDeleteClick(); // answered No
        EXPECT_EQ(messages.Texts(), QStringList{"真的删除 文本 标题吗?你做的操作将无法还原！"});
        EXPECT_FALSE(w.Changed());
        w.btnExit->click();
    }
    EXPECT_TRUE(Posted().isEmpty());
    EXPECT_EQ(Rows("select TitleName from AppTitle"), QStringList{"文本"});
}

TEST_F(CustomerDIYTest, DeleteRemovesRowColumnAndPostsOnceOnClose) {
    AddField("甲", tkText);
    AddField("乙", tkText);
    ExecSql("insert into Customer([GUID],TypeID,甲,乙) values ('G1',0,'a','b')");
    {
        TFormCustomerDIY w;
        w.show();
        Select(w, 0);
        messages.QueueAnswer(true);
        w.actDelete->trigger();
        EXPECT_EQ(ListRows(w.lv1), QStringList{"乙|标准文本框||否|否"});
        EXPECT_TRUE(w.Changed());
        EXPECT_TRUE(Posted().isEmpty()); // only on close
        w.close();
        w.close();
    }
    EXPECT_EQ(Posted(), QList<int>{WM_REFRESHGOODS});
    EXPECT_EQ(Rows("select TitleName from AppTitle"), QStringList{"乙"});
    EXPECT_EQ(Rows("select * from Customer").size(), 1);
    gDbAccess->OpenQuery("select * from Customer");
    EXPECT_EQ(gDbAccess->QueryData->FindField("甲"), -1);
}

TEST_F(CustomerDIYTest, FailedDeleteKeepsRowAndMark) {
    // A definition without its column: the drop fails and the batch rolls back.
    ExecSql(
        "insert into AppTitle(TitleName,TitleType,TitleValues,Titlebt,Titlewy) values ('孤',0,'','0','0')");
    TFormCustomerDIY w;
    w.show();
    Select(w, 0);
    messages.QueueAnswer(true);
    w.btnDelete->click();
    EXPECT_TRUE(messages.Texts().last().startsWith(QStringLiteral("数据库操作失败！")));
    EXPECT_EQ(w.lv1->topLevelItemCount(), 1);
    EXPECT_FALSE(w.Changed());
    EXPECT_EQ(Rows("select TitleName from AppTitle"), QStringList{"孤"});
}

TEST_F(CustomerDIYTest, NewAndModifyThroughTheEditor) {
    {
        TFormCustomerDIY w;
        w.show();
        WhenModal([] {
            auto* dlg = qobject_cast<TFormAddTitle*>(ActiveModal());
            ASSERT_TRUE(dlg);
            dlg->edtName->setText("规格");
            dlg->btnOK()->click();
        });
        w.btnNew->click();
        EXPECT_EQ(ListRows(w.lv1), QStringList{"规格|标准文本框||否|否"});
        EXPECT_TRUE(w.Changed());
        Select(w, 0);
        WhenModal([] {
            auto* dlg = qobject_cast<TFormModTitle*>(ActiveModal());
            ASSERT_TRUE(dlg);
            EXPECT_EQ(dlg->edtName->text(), QStringLiteral("规格"));
            dlg->edtName->setText("型号");
            dlg->btnOK()->click();
        });
        emit w.lv1->itemDoubleClicked(w.lv1->topLevelItem(0), 0);
        EXPECT_EQ(ListRows(w.lv1), QStringList{"型号|标准文本框||否|否"});
        w.btnExit->click();
    }
    EXPECT_EQ(Posted(), QList<int>{WM_REFRESHGOODS});
}

TEST_F(CustomerDIYTest, CancelledEditorIsNoChange) {
    AddField("甲", tkText);
    {
        TFormCustomerDIY w;
        w.show();
        Select(w, 0);
        WhenModal([] { qobject_cast<TFormModTitle*>(ActiveModal())->btnCancel()->click(); });
        w.btnModify->click();
        EXPECT_FALSE(w.Changed());
        w.reject();
    }
    EXPECT_TRUE(Posted().isEmpty());
}

TEST_F(CustomerDIYTest, PreviewOfSevenFields) {
    for (int n = 1; n <= 7; ++n)
        AddField(QStringLiteral("f%1").arg(n), tkText);
    TFormBaseDIY preview;
    preview.show();
    EXPECT_EQ(preview.windowTitle(), QStringLiteral("预览商品资料"));
    EXPECT_EQ(preview.size(), QSize(640, 280));
    EXPECT_FALSE(preview.btnOK->isVisible());
    EXPECT_EQ(preview.btnCancel->text(), QStringLiteral("关闭(&C)"));
    EXPECT_EQ(preview.pnlClient->mapTo(&preview, QPoint(0, 0)), QPoint(0, 0));
    auto* last = preview.pnlClient->findChild<QLineEdit*>("Ctrl7");
    ASSERT_TRUE(last);
    EXPECT_EQ(last->pos(), QPoint(80, 96));
    EXPECT_EQ(preview.pnlClient->findChild<QWidget*>("Ctrl8"), nullptr);
    EXPECT_TRUE(preview.pnlClient->findChild<QLineEdit*>("Ctrl6")->isVisible());
    preview.btnCancel->click();
    EXPECT_FALSE(preview.isVisible());
}

TEST_F(CustomerDIYTest, PreviewWithoutFieldsIsEmpty) {
    TFormBaseDIY preview;
    preview.show();
    EXPECT_TRUE(preview.pnlClient->children().isEmpty());
}

TEST_F(CustomerDIYTest, PreviewFromTheListWindow) {
    AddField("甲", tkText);
    TFormCustomerDIY w;
    w.show();
    bool seen = false;
    WhenModal([&] {
        auto* p = qobject_cast<TFormBaseDIY*>(ActiveModal());
        ASSERT_TRUE(p);
        seen = p->pnlClient->findChild<QLabel*>("Label1") != nullptr;
        p->btnCancel->click();
    });
    w.actPreview->trigger();
    EXPECT_TRUE(seen);
    EXPECT_FALSE(w.Changed());
}
