// The main window as a frame: pages, bottom bar, system menu, ticker and posted messages.
#include "app/FormMain.h"
#include "app/OpenDocument.h"
#include "common/StatusPanels.h"
#include "common/Wait.h"
#include "common/WindowMessages.h"
#include "data/MD.h"
#include "goods/GoodsPage.h"
#include "notes/NotePage.h"
#include "reminders/AlamPage.h"
#include "support/TestFixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QFrame>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>

namespace {

QStringList ActionTexts(const QMenu* menu) {
    QStringList out;
    for (const QAction* a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

class TUrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls << url; }
};

} // namespace

class FormMainTest : public TDataFileTest {
protected:
    void SetUp() override {
        TDataFileTest::SetUp();
        form = std::make_unique<TFormMain>();
        // The tests drive the ticker themselves.
        form->tmrHint()->stop();
    }
    void TearDown() override {
        form.reset();
        TDataFileTest::TearDown();
    }
    std::unique_ptr<TFormMain> form;
};

TEST_F(FormMainTest, CaptionSizeAndPagesInOrder) {
    EXPECT_EQ(form->objectName(), QStringLiteral("TFormMain"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("仓库管理软件-Quvaro软件"));
    EXPECT_EQ(form->size(), QSize(800, 520));
    QTabWidget* pgc1 = form->findChild<QTabWidget*>(QStringLiteral("pgc1"));
    ASSERT_NE(pgc1, nullptr);
    const struct {
        const char* name;
        const char* caption;
    } pages[] = {{"ts1", "仓库管理"}, {"ts2", "记事本"}, {"ts3", "定时提醒"}};
    ASSERT_EQ(pgc1->count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(pgc1->widget(i)->objectName(), QLatin1String(pages[i].name));
        EXPECT_EQ(pgc1->tabText(i), QString::fromUtf8(pages[i].caption));
    }
    EXPECT_EQ(pgc1->currentIndex(), 0);
    EXPECT_EQ(pgc1->widget(0), form->ts1());
    EXPECT_EQ(pgc1->widget(1), form->ts2());
    EXPECT_EQ(pgc1->widget(2), form->ts3());
}

TEST_F(FormMainTest, EveryNamedControlExists) {
    const char* names[] = {
        "ToolBar1",       "ToolButtonHY", "ToolButtonCZ", "btn4",   "btn6",          "btn8",     "tv1",
        "statHint",       "pnlGrid",      "stat1",        "grp1",   "cbbQuery",      "edtQuery", "btnQuery",
        "pmCustomerType", "pmCustomer",   "tvNote",       "stat2",  "mmoNote",       "Edit1",    "btn2",
        "pmNoteType",     "lv1",          "rgAlam",       "pmAlam", "pnlMainTottom", "chk1",     "btnSystem",
        "pmSystem",       "tmrHint",      "tmr1"};
    for (const char* name : names)
        EXPECT_NE(form->findChild<QObject*>(QLatin1String(name)), nullptr) << name;
    EXPECT_EQ(form->tmrHint()->interval(), 200);
    EXPECT_EQ(form->tmr1()->interval(), 1000);
    EXPECT_EQ(form->chk1()->text(), QStringLiteral("开机运行"));
    EXPECT_EQ(form->btnSystem()->text(), QStringLiteral("软件设置"));
    EXPECT_EQ(form->pnlMainTottom()->height(), 42);
}

TEST_F(FormMainTest, MenusCarryTheirItemsInOrder) {
    const struct {
        QMenu* menu;
        QStringList items;
    } cases[] = {
        {form->pmSystem(), {"软件设置", "-", "数据维护", "-", "软件主页"}},
        {form->ts1()->pmCustomerType(), {"新建组", "重命名组", "删除组", "-", "新建商品"}},
        {form->ts1()->pmCustomer(), {"新建商品", "修改", "删除", "-", "刷新", "-", "导出Excel"}},
        {form->ts2()->pmNoteType(), {"新建组", "重命名组", "删除组"}},
        {form->ts3()->pmAlam(), {"新建提醒", "修改", "删除"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ActionTexts(c.menu), c.items) << c.menu->objectName().toStdString();
}

TEST_F(FormMainTest, WhatIsNotWiredYetIsDisabled) {
    for (const char* name : {"N15", "N8"}) {
        auto* action = form->findChild<QAction*>(QLatin1String(name));
        ASSERT_NE(action, nullptr) << name;
        EXPECT_FALSE(action->isEnabled()) << name;
    }
    for (const char* name : {"ToolButtonCZ", "btn4", "btn6", "btn8", "chk1"}) {
        auto* widget = form->findChild<QWidget*>(QLatin1String(name));
        ASSERT_NE(widget, nullptr) << name;
        EXPECT_FALSE(widget->isEnabled()) << name;
    }
    EXPECT_TRUE(form->NOpenWWW1()->isEnabled());
    EXPECT_TRUE(form->btnSystem()->isEnabled());
    for (QAction* action : form->ts3()->pmAlam()->actions())
        EXPECT_TRUE(action->isEnabled()) << action->objectName().toStdString();
}

TEST_F(FormMainTest, ReminderListColumns) {
    QTreeWidget* lv1 = form->ts3()->lv1();
    const struct {
        const char* caption;
        int width;
    } columns[] = {{"ID", 1}, {"重复频率", 100}, {"提醒时间", 180}, {"内容", 420}, {"状态", 80}};
    ASSERT_EQ(lv1->columnCount(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(lv1->headerItem()->text(i), QString::fromUtf8(columns[i].caption));
        EXPECT_EQ(lv1->columnWidth(i), columns[i].width) << i;
    }
    EXPECT_EQ(form->ts3()->ItemIndex(), 0);
}

TEST_F(FormMainTest, BottomBarControlsStayAtTheRightEdgeAfterResizes) {
    form->show();
    for (const QSize size : {QSize(1000, 600), QSize(720, 480), QSize(1200, 700)}) {
        form->resize(size);
        QApplication::sendPostedEvents();
        QApplication::processEvents();
        const int width = form->pnlMainTottom()->width();
        EXPECT_EQ(width, size.width());
        EXPECT_EQ(form->btnSystem()->x(), width - 100) << size.width();
        EXPECT_EQ(form->chk1()->x(), width - 180) << size.width();
        EXPECT_LE(form->btnSystem()->geometry().right(), width);
        EXPECT_LT(form->chk1()->geometry().right(), form->btnSystem()->x());
    }
}

TEST_F(FormMainTest, EscapeOpensTheSystemMenuAtTheMouse) {
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QCursor::setPos(150, 120);
    form->ts1()->tv1()->setFocus();
    ASSERT_FALSE(form->pmSystem()->isVisible());

    QTest::keyClick(form->ts1()->tv1(), Qt::Key_Escape);

    EXPECT_TRUE(form->pmSystem()->isVisible());
    EXPECT_EQ(form->pmSystem()->pos(), QCursor::pos());
    form->pmSystem()->close();
    EXPECT_FALSE(form->pmSystem()->isVisible());
}

TEST_F(FormMainTest, EscapeWhileRenamingAGroupCancelsTheEditInstead) {
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTreeWidget* tv1 = form->ts1()->tv1();
    auto* item = new QTreeWidgetItem(tv1, {QStringLiteral("五金")});
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    tv1->editItem(item);
    QPointer<QLineEdit> editor = tv1->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setFocus();
    editor->setText(QStringLiteral("配件"));

    QTest::keyClick(editor, Qt::Key_Escape);
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    EXPECT_FALSE(form->pmSystem()->isVisible());
    EXPECT_EQ(item->text(0), QStringLiteral("五金"));
    EXPECT_TRUE(editor.isNull() || !editor->isVisible()); // the edit has ended
}

TEST_F(FormMainTest, HomePageOpensAnExampleAddress) {
    TUrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "Open");
    form->NOpenWWW1()->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls[0], QUrl(HomePageAddress()));
    EXPECT_TRUE(catcher.urls[0].host().endsWith(QStringLiteral(".example")));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FormMainTest, HintTickerTypesIntoBothStatusBars) {
    TStatusPanels* statHint = form->ts1()->statHint();
    TStatusPanels* stat2 = form->ts2()->stat2();
    ASSERT_EQ(statHint->PanelCount(), 1);
    ASSERT_EQ(stat2->PanelCount(), 1);
    const QString hint = QStringLiteral("点右键可以新建、修改和删除分组");
    EXPECT_EQ(form->ts1()->tv1()->toolTip(), hint);
    // One cycle is 31 ticks; check all of them and the start of the next.
    for (int tick = 1; tick <= 33; ++tick) {
        form->tmrHintTimer();
        const int chars = tick <= 30 ? tick / 2 : (tick - 31) / 2;
        const QString expected = hint.left(chars);
        EXPECT_EQ(statHint->PanelText(0), expected) << "tick " << tick;
        EXPECT_EQ(stat2->PanelText(0), expected) << "tick " << tick;
    }
}

TEST_F(FormMainTest, PostedRefreshGoodsIsHandledAfterThePosterReturns) {
    ASSERT_EQ(MainWindowTarget(), form.get());
    int queries = 0;
    QObject::connect(form->ts1()->btnQuery(), &QPushButton::clicked, [&] { ++queries; });
    PostToMainWindow(WM_REFRESHGOODS);
    EXPECT_EQ(queries, 0); // posted, not sent
    QApplication::sendPostedEvents(form.get());
    EXPECT_EQ(queries, 1);
    // The other messages leave the goods alone.
    PostToMainWindow(WM_ALAMSEEN, 7);
    PostToMainWindow(WM_REFRESHGOODS);
    PostToMainWindow(WM_REFRESHGOODS);
    QApplication::sendPostedEvents(form.get());
    EXPECT_EQ(queries, 3);
}

TEST_F(FormMainTest, MessagesAfterTheWindowIsGoneGoNowhere) {
    form.reset();
    EXPECT_EQ(MainWindowTarget(), nullptr);
    PostToMainWindow(WM_REFRESHGOODS); // must not crash
    QApplication::sendPostedEvents();
}

TEST_F(FormMainTest, CreateInstallsTheWaitingWindowAndCloseClosesTheConnection) {
    ASSERT_NE(gFormWaiting, nullptr);
    EXPECT_EQ(WaitingIndicator(), gFormWaiting);
    form->show();
    ASSERT_TRUE(gDbAccess->Connection->Connected());
    form->close();
    EXPECT_FALSE(gDbAccess->Connection->Connected());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FormMainTest, ClosingStopsBothTimers) {
    form->tmrHint()->start();
    form->show();
    ASSERT_TRUE(form->tmrHint()->isActive());
    ASSERT_TRUE(form->tmr1()->isActive());
    form->close();
    // Nothing may tick against the closed connection while the window waits for its deletion.
    EXPECT_FALSE(form->tmrHint()->isActive());
    EXPECT_FALSE(form->tmr1()->isActive());
}

TEST_F(FormMainTest, AFailingHandlerShowsItsErrorAndTheWindowStays) {
    form->show();
    ASSERT_TRUE(messages.shown.empty()) << messages.Texts().join(QLatin1Char('\n')).toStdString();
    ExecSql(QStringLiteral("drop table Customer"));
    PostToMainWindow(WM_REFRESHGOODS);
    QApplication::sendPostedEvents(form.get());
    ASSERT_EQ(messages.shown.size(), 1u) << messages.Texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(messages.shown[0].caption, QStringLiteral("错误"));
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("\r\n详细信息：")))
        << messages.shown[0].text.toStdString();
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(gDbAccess->Connection->Connected());
    // The next message is handled as usual.
    PostToMainWindow(WM_REFRESHGOODS);
    QApplication::sendPostedEvents(form.get());
    EXPECT_EQ(messages.shown.size(), 2u);
}

#include "test_formmain.moc"
