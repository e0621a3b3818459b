// The preset picker and its dialogs: the list, new, change, delete, choosing, and the typed-out hint.
#include "AlamTestData.h"
#include "common/StatusPanels.h"
#include "reminders/AddAlamContext.h"
#include "reminders/AlamContext.h"
#include "reminders/ModAlamContext.h"
#include "support/GuiTestSupport.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

namespace {

class AlamContextTest : public TDataFileTest {
protected:
    static QStringList Texts(const QTreeWidget* lv) {
        QStringList out;
        for (int i = 0; i < lv->topLevelItemCount(); ++i)
            out << lv->topLevelItem(i)->text(1);
        return out;
    }
    QStringList Stored() { return Rows(QStringLiteral("select ReMark from AlamContext")); }
};

} // namespace

TEST_F(AlamContextTest, AnEmptyPickerRefusesOkWithAHint) {
    TFormAlamContext picker;
    picker.show();
    EXPECT_EQ(picker.windowTitle(), QStringLiteral("预设提醒内容"));
    QTreeWidget* lv = picker.lv1();
    EXPECT_EQ(lv->topLevelItemCount(), 0);
    EXPECT_EQ(lv->headerItem()->text(0), QStringLiteral("ID"));
    EXPECT_EQ(lv->headerItem()->text(1), QStringLiteral("预设提醒内容"));
    EXPECT_EQ(lv->columnWidth(0), 0);
    EXPECT_EQ(lv->columnWidth(1), 460);
    EXPECT_EQ(lv->toolTip(), QStringLiteral("点右键可以新建、修改和是删除提醒内容"));
    QStringList items;
    for (QAction* a : picker.pmContext()->actions())
        items << a->text();
    EXPECT_EQ(items, (QStringList{"新建", "修改", "删除"}));
    EXPECT_EQ(picker.statHint()->PanelCount(), 1);

    picker.btnOK()->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, TMessageKind::Info);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("请先选择一条预设提醒内容!"));
    EXPECT_TRUE(picker.isVisible());
    EXPECT_NE(picker.result(), int(QDialog::Accepted));
}

TEST_F(AlamContextTest, NewAndChangedPresetsShowAtOnceAsTyped) {
    TFormAlamContext picker;
    picker.show();
    const QString typed = QStringLiteral("It's 开会@#@\n'带本子'");
    WhenModal([&] {
        auto* dlg = qobject_cast<TFormAddAlamContext*>(ActiveModal());
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("新建提醒内容"));
        EXPECT_EQ(dlg->mmoContext()->font().pixelSize(), 13);
        dlg->mmoContext()->setPlainText(QStringLiteral("  \n "));
        dlg->btnOK()->click();
        EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("提醒内容不能为空！")});
        EXPECT_TRUE(dlg->isVisible());
        dlg->mmoContext()->setPlainText(typed);
        dlg->btnOK()->click();
    });
    picker.NAddContext()->trigger();
    EXPECT_EQ(Texts(picker.lv1()), QStringList{typed});
    EXPECT_EQ(Stored(), QStringList{typed});

    // Change with nothing selected does nothing.
    picker.NModContext()->trigger();
    picker.lv1()->topLevelItem(0)->setSelected(true);
    const QString changed = QStringLiteral("改过的 \"引号\" 'x' @#@");
    WhenModal([&] {
        auto* dlg = qobject_cast<TFormModAlamContext*>(ActiveModal());
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("修改提醒内容"));
        EXPECT_EQ(dlg->mmoContext()->toPlainText(), typed);
        dlg->mmoContext()->setPlainText(changed);
        dlg->btnOK()->click();
    });
    picker.NModContext()->trigger();
    EXPECT_EQ(Texts(picker.lv1()), QStringList{changed});
    EXPECT_EQ(Stored(), QStringList{changed});
}

TEST_F(AlamContextTest, DeleteAsksAndTakesOutTheSelectedRow) {
    AddPreset(QStringLiteral("甲"));
    AddPreset(QStringLiteral("乙"));
    TFormAlamContext picker;
    picker.show();
    ASSERT_EQ(Texts(picker.lv1()), (QStringList{"甲", "乙"}));
    EXPECT_EQ(int(picker.lv1()->topLevelItem(0)->textAlignment(1) & Qt::AlignHorizontal_Mask),
              int(Qt::AlignHCenter));
    picker.NDelContext()->trigger(); // nothing selected
    EXPECT_TRUE(messages.shown.empty());
    picker.lv1()->topLevelItem(0)->setSelected(true);
    messages.QueueAnswer(false);
    picker.NDelContext()->trigger();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("你确定要删除你选择的内容吗?"));
    EXPECT_EQ(Stored().size(), 2);
    picker.lv1()->topLevelItem(0)->setSelected(true);
    messages.QueueAnswer(true);
    picker.NDelContext()->trigger();
    EXPECT_EQ(Texts(picker.lv1()), QStringList{"乙"});
    EXPECT_EQ(Stored(), QStringList{"乙"});
}

TEST_F(AlamContextTest, OkOrADoubleClickChoosesTheSelectedText) {
    AddPreset(QStringLiteral("甲"));
    AddPreset(QStringLiteral("第二条\n两行"));
    {
        TFormAlamContext picker;
        picker.show();
        picker.lv1()->topLevelItem(1)->setSelected(true);
        picker.btnOK()->click();
        EXPECT_EQ(picker.result(), int(QDialog::Accepted));
        EXPECT_EQ(picker.ChosenText, QStringLiteral("第二条\n两行"));
    }
    {
        TFormAlamContext picker;
        picker.show();
        QTreeWidgetItem* first = picker.lv1()->topLevelItem(0);
        first->setSelected(true);
        emit picker.lv1()->itemDoubleClicked(first, 1);
        EXPECT_EQ(picker.result(), int(QDialog::Accepted));
        EXPECT_EQ(picker.ChosenText, QStringLiteral("甲"));
    }
    QString text = QStringLiteral("不变");
    WhenModal([] { qobject_cast<TFormAlamContext*>(ActiveModal())->btnCancel()->click(); });
    EXPECT_EQ(ShowAlamContext(text), int(QDialog::Rejected));
    EXPECT_EQ(text, QStringLiteral("不变"));
    WhenModal([] {
        auto* picker = qobject_cast<TFormAlamContext*>(ActiveModal());
        picker->lv1()->topLevelItem(0)->setSelected(true);
        picker->btnOK()->click();
    });
    EXPECT_EQ(ShowAlamContext(text), int(QDialog::Accepted));
    EXPECT_EQ(text, QStringLiteral("甲"));
}

TEST_F(AlamContextTest, TheHintIsTypedOutEmptiedAndTypedAgain) {
    TFormAlamContext picker;
    EXPECT_EQ(picker.tmrHint()->interval(), 200);
    EXPECT_TRUE(picker.tmrHint()->isActive());
    picker.tmrHint()->stop();
    const QString hint = QStringLiteral("点右键可以新建、修改和删除预设提醒内容");
    EXPECT_TRUE(picker.statHint()->PanelText(0).isEmpty());
    for (int cycle = 0; cycle < 2; ++cycle) {
        // Every character of the hint is two bytes: one more appears every second tick.
        for (int tick = 1; tick <= 2 * int(hint.size()); ++tick) {
            picker.tmrHintTimer();
            EXPECT_EQ(picker.statHint()->PanelText(0), hint.left(tick / 2)) << cycle << " " << tick;
        }
        picker.tmrHintTimer();
        EXPECT_TRUE(picker.statHint()->PanelText(0).isEmpty());
    }
}
