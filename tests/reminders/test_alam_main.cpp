// The reminder page in the main window: the list and its views, its commands, the check on tmr1 and the
// handling of what the popups post.
#include "AlamTestData.h"
#include "PopupTestSupport.h"
#include "app/FormMain.h"
#include "reminders/AddAlam.h"
#include "reminders/AlamCommands.h"
#include "reminders/AlamLists.h"
#include "reminders/AlamPage.h"
#include "reminders/ModAlam.h"
#include "support/GuiTestSupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>
#include <memory>

namespace {

class AlamMainTest : public TDataFileTest {
protected:
    void TearDown() override {
        CloseAllPopups();
        form.reset();
        TDataFileTest::TearDown();
    }
    void Open(const QDateTime& now) {
        SetNow(now);
        form = std::make_unique<TFormMain>();
        form->tmrHint()->stop();
        form->tmr1()->stop(); // the tests tick it themselves
        form->show();
    }
    QTreeWidget* lv1() const { return form->ts3()->lv1(); }
    // Each row as "ID|kind|time|text|status", in list order.
    QStringList ListRows() const {
        QStringList out;
        for (int i = 0; i < lv1()->topLevelItemCount(); ++i) {
            QStringList cells;
            for (int c = 0; c < 5; ++c)
                cells << lv1()->topLevelItem(i)->text(c);
            out << cells.join(QLatin1Char('|'));
        }
        return out;
    }
    QStringList ListIds() const {
        QStringList out;
        for (int i = 0; i < lv1()->topLevelItemCount(); ++i)
            out << lv1()->topLevelItem(i)->text(acID);
        return out;
    }
    QTreeWidgetItem* Row(const QString& id) const {
        for (int i = 0; i < lv1()->topLevelItemCount(); ++i)
            if (lv1()->topLevelItem(i)->text(acID) == id) return lv1()->topLevelItem(i);
        return nullptr;
    }
    void Select(const QString& id) {
        QTreeWidgetItem* item = Row(id);
        ASSERT_NE(item, nullptr);
        lv1()->setCurrentItem(item);
        item->setSelected(true);
    }
    void ChooseView(int view) { form->ts3()->rgAlamItems()->button(view)->click(); }
    void Post(int message, const QString& id, qintptr lParam = 0) {
        PostToMainWindow(message, qintptr(id.toLongLong()), lParam);
        QCoreApplication::sendPostedEvents(form.get());
    }

    std::unique_ptr<TFormMain> form;
    TCountingChime chime;
};

struct TShown {
    QString id, text;
    bool repeating;
    bool operator==(const TShown& o) const {
        return id == o.id && text == o.text && repeating == o.repeating;
    }
};

} // namespace

TEST_F(AlamMainTest, FirstShowFillsTheWholeListWithStatusWeekdayAndColours) {
    const QDate today(2024, 3, 15);
    const QString missed = AddOnce(today.addDays(-1), 15, 0, QStringLiteral("昨天的"));
    const QString seen = AddOnce(today.addDays(-2), 8, 5, QStringLiteral("看过的那条"));
    gAlam->MarkSeen(seen);
    const QString later = AddOnce(today, 18, 0, QStringLiteral("今晚"));
    const QString daily = AddReminder(akDaily, 7, 0, 1, today, QStringLiteral("每天"));
    const QString sunday = AddReminder(akWeekly, 9, 30, 7, today, QStringLiteral("周日"));
    const QString monthly = AddReminder(akMonthly, 9, 30, 31, today, QStringLiteral("月底"));
    Open(QDateTime(today, QTime(10, 0)));

    EXPECT_EQ(form->ts3()->ItemIndex(), 0);
    EXPECT_EQ(Sorted(ListRows()), Sorted({
                                      missed + QStringLiteral("|仅一次|2024-03-14  15时 0分|昨天的|错过的"),
                                      seen + QStringLiteral("|仅一次|2024-03-13  8时 5分|看过的那条|看过的"),
                                      later + QStringLiteral("|仅一次|2024-03-15  18时 0分|今晚|"),
                                      daily + QStringLiteral("|每天| 7时 0分|每天|"),
                                      sunday + QStringLiteral("|每周|每周日  9时 30分|周日|"),
                                      monthly + QStringLiteral("|每月|每月 31号  9时 30分|月底|"),
                                  }));
    const struct {
        QString id;
        QColor colour; // invalid: the list's own
    } colours[] = {{missed, QColor(255, 0, 0)},
                   {daily, QColor()},
                   {sunday, QColor(0, 128, 0)},
                   {monthly, QColor(0, 0, 255)}};
    for (const auto& c : colours)
        for (int col = 0; col < 5; ++col) {
            const QBrush brush = Row(c.id)->foreground(col);
            if (c.colour.isValid()) {
                EXPECT_EQ(brush.color(), c.colour) << c.id.toStdString();
            } else {
                EXPECT_EQ(brush.style(), Qt::NoBrush);
            }
        }
    // The cells line up as their column titles: kind left, time, text and status centred.
    const int aligned[] = {Qt::AlignLeft, Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignHCenter,
                           Qt::AlignHCenter};
    for (int col = 0; col < 5; ++col)
        EXPECT_EQ(int(Row(daily)->textAlignment(col) & Qt::AlignHorizontal_Mask), aligned[col]) << col;
    EXPECT_TRUE(messages.shown.empty()) << messages.Texts().join(QLatin1Char('\n')).toStdString();
}

TEST_F(AlamMainTest, ChoosingAViewFillsTheListWithIt) {
    const QDate today(2024, 3, 16); // a Saturday
    const QString once = AddOnce(today, 9, 0, QStringLiteral("今天九点"));
    const QString daily = AddReminder(akDaily, 7, 0, 1, today, QStringLiteral("每天"));
    const QString sunday = AddReminder(akWeekly, 9, 30, 7, today, QStringLiteral("周日"));
    const QString monthly = AddReminder(akMonthly, 9, 30, 16, today, QStringLiteral("十六号"));
    Open(QDateTime(today, QTime(10, 0)));
    const struct {
        int view;
        QStringList ids;
    } cases[] = {
        {avToday, {once, monthly}},
        {avTomorrow, {sunday}},
        {avMissed, {once}},
        {avDaily, {daily}},
        {avWeekly, {sunday}},
        {avMonthly, {monthly}},
        {avAll, {once, daily, sunday, monthly}},
    };
    for (const auto& c : cases) {
        ChooseView(c.view);
        EXPECT_EQ(form->ts3()->ItemIndex(), c.view);
        EXPECT_EQ(Sorted(ListIds()), Sorted(c.ids)) << c.view;
    }
    ChooseView(avMissed);
    EXPECT_EQ(Row(once)->text(acStatus), QStringLiteral("错过的"));
}

TEST_F(AlamMainTest, DeleteAsksAndTakesOutOnlyTheSelectedRow) {
    const QDate today(2024, 3, 15);
    const QString a = AddOnce(today.addDays(-1), 9, 0, QStringLiteral("甲"));
    const QString b = AddOnce(today.addDays(-1), 9, 0, QStringLiteral("乙"));
    Open(QDateTime(today, QTime(10, 0)));
    ASSERT_TRUE(form->ts3()->NDelAlam()->isEnabled());

    // Without a selection nothing happens.
    form->ts3()->NDelAlam()->trigger();
    EXPECT_TRUE(messages.shown.empty());

    Select(a);
    messages.QueueAnswer(false);
    form->ts3()->NDelAlam()->trigger();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, TMessageKind::Question);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("确实要删除 2024-03-14  9时 0分 的提醒吗？"));
    EXPECT_EQ(ListIds().size(), 2);

    // The list is not filled again: the other row keeps what the last fill gave it.
    gAlam->MarkSeen(b);
    messages.QueueAnswer(true);
    form->ts3()->NDelAlam()->trigger();
    EXPECT_EQ(ListIds(), QStringList{b});
    EXPECT_EQ(Row(b)->text(acStatus), QStringLiteral("错过的"));
    EXPECT_EQ(Rows(QStringLiteral("select ID from Alam")), QStringList{b});
}

TEST_F(AlamMainTest, NewReminderFromTheMenuRefillsTheSelectedView) {
    Open(At(2024, 3, 15, 10, 0));
    ChooseView(avDaily);
    bool seen = false;
    WhenModal([&] {
        auto* dlg = qobject_cast<TFormAddAlam*>(ActiveModal());
        ASSERT_NE(dlg, nullptr);
        seen = true;
        dlg->rbDay()->click();
        dlg->edtHour()->setText(QStringLiteral("8"));
        dlg->mmoNote()->setPlainText(QStringLiteral("吃药 'A'@#@"));
        dlg->btnOK()->click();
    });
    form->ts3()->NAddAlam()->trigger();
    EXPECT_TRUE(seen);
    ASSERT_EQ(ListRows().size(), 1);
    EXPECT_TRUE(ListRows()[0].endsWith(QStringLiteral("|每天| 8时 0分|吃药 'A'@#@|")))
        << ListRows()[0].toStdString();
}

TEST_F(AlamMainTest, ChangeOpensForTheSelectedRowAndADoubleClickDoesTheSame) {
    const QString a = AddReminder(akDaily, 7, 0, 1, QDate(2024, 3, 1), QStringLiteral("甲"));
    const QString b = AddReminder(akDaily, 8, 0, 1, QDate(2024, 3, 1), QStringLiteral("乙"));
    Open(At(2024, 3, 15, 10, 0));

    int opened = 0;
    form->ts3()->NModAlam()->trigger(); // no selection: nothing opens
    EXPECT_EQ(opened, 0);

    Select(b);
    WhenModal([&] {
        auto* dlg = qobject_cast<TFormModAlam*>(ActiveModal());
        ASSERT_NE(dlg, nullptr);
        ++opened;
        EXPECT_EQ(dlg->AlamId, b);
        EXPECT_EQ(dlg->mmoNote()->toPlainText(), QStringLiteral("乙"));
        dlg->mmoNote()->setPlainText(QStringLiteral("乙改"));
        dlg->btnOK()->click();
    });
    form->ts3()->NModAlam()->trigger();
    EXPECT_EQ(Row(b)->text(acText), QStringLiteral("乙改"));

    Select(a);
    WhenModal([&] {
        auto* dlg = qobject_cast<TFormModAlam*>(ActiveModal());
        ASSERT_NE(dlg, nullptr);
        ++opened;
        EXPECT_EQ(dlg->AlamId, a);
        dlg->btnCancel()->click();
    });
    emit lv1()->itemDoubleClicked(Row(a), 0);
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(Row(a)->text(acText), QStringLiteral("甲"));
}

TEST_F(AlamMainTest, TheCheckShowsEveryMinutesRemindersOnceAlsoAfterLateTicksAndGaps) {
    const QDate day(2024, 3, 15);
    const QString at30 = AddOnce(day, 9, 30, QStringLiteral("九点半"));
    const QString at31 = AddReminder(akDaily, 9, 31, 1, day, QStringLiteral("九点三十一"));
    const QString at32 = AddOnce(day, 9, 32, QStringLiteral("九点三十二"));
    const QString at35 = AddReminder(akMonthly, 9, 35, 15, day, QStringLiteral("十五号"));
    Open(QDateTime(day, QTime(9, 29, 30)));
    std::vector<TShown> shown;
    form->Alams->ShowPopup = [&](const QString& id, const QString& text, bool repeating) {
        shown.push_back({id, text, repeating});
    };
    const auto tick = [&](const QTime& t) {
        SetNow(QDateTime(day, t));
        form->tmr1Timer();
    };
    tick(QTime(9, 29, 59, 900));
    EXPECT_TRUE(shown.empty());
    // The next tick comes a second late and never meets second 0 of 9:30.
    tick(QTime(9, 30, 1, 0));
    EXPECT_EQ(shown, (std::vector<TShown>{{at30, QStringLiteral("九点半"), false}}));
    tick(QTime(9, 30, 2));
    tick(QTime(9, 30, 59));
    EXPECT_EQ(shown.size(), 1u);
    // A modal loop or a busy moment held the ticks back for several minutes.
    tick(QTime(9, 36, 4));
    EXPECT_EQ(shown, (std::vector<TShown>{{at30, QStringLiteral("九点半"), false},
                                          {at31, QStringLiteral("九点三十一"), true},
                                          {at32, QStringLiteral("九点三十二"), false},
                                          {at35, QStringLiteral("十五号"), true}}));
    tick(QTime(9, 36, 5));
    tick(QTime(9, 37, 0));
    EXPECT_EQ(shown.size(), 4u);
}

TEST_F(AlamMainTest, AtNineThirtyOnAMondayEachDueReminderPopsUpInItsOwnWindow) {
    const QDate monday(2024, 3, 18);
    AddOnce(monday, 9, 30, QStringLiteral("一次"));
    AddReminder(akDaily, 9, 30, 1, monday, QStringLiteral("每天"));
    AddReminder(akWeekly, 9, 30, 1, monday, QStringLiteral("每周一"));
    AddReminder(akMonthly, 9, 30, 18, monday, QStringLiteral("每月十八"));
    AddOnce(monday.addDays(-1), 9, 30, QStringLiteral("昨天"));
    Open(QDateTime(monday, QTime(9, 29, 58)));
    SetNow(QDateTime(monday, QTime(9, 30, 0)));
    form->tmr1Timer();
    const QList<TFormShowAlam*> popups = OpenPopups();
    QStringList texts;
    for (TFormShowAlam* p : popups) {
        texts << p->mmo1()->toPlainText();
        EXPECT_EQ(p->TargetGeometry(), popups[0]->TargetGeometry());
        EXPECT_EQ(p->Repeating, p->mmo1()->toPlainText() != QStringLiteral("一次"));
    }
    EXPECT_EQ(Sorted(texts), Sorted({"一次", "每天", "每周一", "每月十八"}));
    EXPECT_EQ(chime.count, 4);
    form->tmr1Timer();
    EXPECT_EQ(OpenPopups().size(), 4);
}

TEST_F(AlamMainTest, AFailingCheckIsReportedOnceAndTriedAgainNextMinute) {
    Open(At(2024, 3, 15, 9, 29, 30));
    ExecSql(QStringLiteral("drop table Alam"));
    SetNow(At(2024, 3, 15, 9, 32, 1));
    form->tmr1Timer();
    EXPECT_EQ(messages.shown.size(), 1u);
    SetNow(At(2024, 3, 15, 9, 32, 2));
    form->tmr1Timer();
    EXPECT_EQ(messages.shown.size(), 1u);
    SetNow(At(2024, 3, 15, 9, 33, 0));
    form->tmr1Timer();
    EXPECT_EQ(messages.shown.size(), 2u);
}

TEST_F(AlamMainTest, SeenMarksTheRowsWithoutFillingTheListAgain) {
    const QDate today(2024, 3, 15);
    const QString id = AddOnce(today, 9, 0, QStringLiteral("看到"));
    Open(QDateTime(today, QTime(10, 0)));
    ASSERT_EQ(Row(id)->text(acStatus), QStringLiteral("错过的"));
    const QString added = AddOnce(today, 11, 0, QStringLiteral("后加的"));
    Post(WM_ALAMSEEN, id);
    EXPECT_EQ(Row(id)->text(acStatus), QStringLiteral("看过的"));
    EXPECT_EQ(Row(added), nullptr);
    EXPECT_EQ(QueryInt(QStringLiteral("select count(*) from Alam where bLook<>0")), 1);
}

TEST_F(AlamMainTest, DeleteTakesOutEveryRowOfThatReminder) {
    const QString a = AddReminder(akDaily, 7, 0, 1, QDate(2024, 3, 1), QStringLiteral("甲"));
    const QString b = AddReminder(akDaily, 8, 0, 1, QDate(2024, 3, 1), QStringLiteral("乙"));
    Open(At(2024, 3, 15, 10, 0));
    // A second row of the same reminder, as a list may hold after its own changes.
    auto* twin = new QTreeWidgetItem(*Row(a));
    lv1()->addTopLevelItem(twin);
    Post(WM_ALAMDELETE, a);
    EXPECT_EQ(ListIds(), QStringList{b});
    EXPECT_EQ(Rows(QStringLiteral("select ID from Alam")), QStringList{b});
}

TEST_F(AlamMainTest, SnoozeMovesTheReminderAndFillsTheSelectedViewAgain) {
    const QDate today(2024, 3, 15);
    const QString id = AddOnce(today, 23, 30, QStringLiteral("睡前"));
    Open(QDateTime(today, QTime(23, 30, 5)));
    ChooseView(avToday);
    ASSERT_EQ(ListIds(), QStringList{id});
    Post(WM_ALAMSNOOZE, id, 4);
    EXPECT_TRUE(ListIds().isEmpty());
    ChooseView(avTomorrow);
    ASSERT_EQ(ListIds(), QStringList{id});
    EXPECT_EQ(Row(id)->text(acTime), QStringLiteral("2024-03-16  0时 30分"));
}

TEST_F(AlamMainTest, APopupsAnswersReachTheStoreThroughTheMainWindow) {
    const QDate today(2024, 3, 15);
    const QString keep = AddOnce(today, 9, 30, QStringLiteral("保留"));
    const QString drop = AddOnce(today, 9, 30, QStringLiteral("删除"));
    const QString later = AddOnce(today, 9, 30, QStringLiteral("稍后"));
    const QString daily = AddReminder(akDaily, 9, 30, 1, today, QStringLiteral("每天"));
    Open(QDateTime(today, QTime(9, 29, 50)));
    SetNow(QDateTime(today, QTime(9, 30, 0, 200)));
    form->tmr1Timer();
    std::map<QString, TFormShowAlam*> byId;
    for (TFormShowAlam* p : OpenPopups())
        byId[p->AlamId] = p;
    ASSERT_EQ(byId.size(), 4u);
    SetNow(QDateTime(today, QTime(9, 30, 40)));
    byId[keep]->btnOkSave()->click();
    byId[drop]->btnOkDel()->click();
    byId[later]->SnoozeItem(1)->trigger();
    byId[daily]->btnOkSave()->click();
    EXPECT_TRUE(OpenPopups().isEmpty());
    QCoreApplication::sendPostedEvents(form.get());
    EXPECT_EQ(Sorted(Rows(QStringLiteral("select ID,bLook,iHour,iMinute from Alam"))),
              Sorted({keep + QStringLiteral("|1|9|30"), later + QStringLiteral("|0|9|35"),
                      daily + QStringLiteral("|0|9|30")}));
    EXPECT_EQ(Row(drop), nullptr);
    EXPECT_TRUE(messages.shown.empty()) << messages.Texts().join(QLatin1Char('\n')).toStdString();
}
