// bookkeep_core
// The reminder store: statements, views, the missed rule, the due query, snoozing and the weekday text.
#include "AlamTestData.h"
#include "common/UException.h"
#include "support/TestFixture.h"

#include <map>

namespace {

class UntAlamTest : public TDataFileTest {
protected:
    // Texts of the list statement of a view: "ID|kind|time|text|status" per row, sorted.
    QStringList ViewRows(int view) { return Sorted(Rows(TAlam::ListSql(view))); }
    // The captions of the reminders in a view, sorted.
    QStringList ViewNames(int view) {
        QStringList names;
        for (const QString& row : Rows(TAlam::ListSql(view)))
            names << name[row.section(QLatin1Char('|'), 0, 0)];
        return Sorted(names);
    }
    void Add(const QString& n, int reDay, int hour, int minute, int monWeek, const QDate& date) {
        name[AddReminder(reDay, hour, minute, monWeek, date, n)] = n;
    }
    std::map<QString, QString> name; // ID -> caption
};

} // namespace

TEST_F(UntAlamTest, AnEmptyTableGivesNoRowsInAnyView) {
    SetNow(At(2024, 3, 15, 10, 30));
    for (int view = 0; view < avCount; ++view)
        EXPECT_TRUE(Rows(TAlam::ListSql(view)).isEmpty()) << view;
}

TEST_F(UntAlamTest, InsertLoadUpdateDeleteKeepTextsAsTyped) {
    const QString text = QStringLiteral("给'老王'打电话@#@带上\n\"合同\"; drop table Alam");
    const QString id = AddReminder(akWeekly, 9, 30, 5, QDate(2024, 3, 15), text);
    gAlam->iHour = gAlam->iMinute = gAlam->iMonWeek = gAlam->ReDay = -1;
    gAlam->ReMark.clear();
    gAlam->Load(id);
    EXPECT_EQ(gAlam->iHour, 9);
    EXPECT_EQ(gAlam->iMinute, 30);
    EXPECT_EQ(gAlam->iMonWeek, 5);
    EXPECT_EQ(gAlam->ReDay, akWeekly);
    EXPECT_EQ(gAlam->AlamDate.date(), QDate(2024, 3, 15));
    EXPECT_EQ(gAlam->ReMark, text);
    EXPECT_EQ(Rows(QStringLiteral("select bLook from Alam")), QStringList{QStringLiteral("0")});

    gAlam->MarkSeen(id);
    EXPECT_EQ(QueryInt(QStringLiteral("select count(*) from Alam where bLook<>0")), 1);
    const QString changed = QStringLiteral("改成 it's @#@ 第二行\n第三行");
    gAlam->ReDay = akMonthly;
    gAlam->iHour = 23;
    gAlam->iMinute = 59;
    gAlam->iMonWeek = 31;
    gAlam->AlamDate = At(2025, 1, 2, 0, 0);
    gAlam->ReMark = changed;
    gAlam->Update(id);
    gAlam->Load(id);
    EXPECT_EQ(gAlam->ReMark, changed);
    EXPECT_EQ(gAlam->ReDay, akMonthly);
    EXPECT_EQ(gAlam->iMonWeek, 31);
    EXPECT_EQ(gAlam->AlamDate.date(), QDate(2025, 1, 2));
    // A changed reminder is unseen again.
    EXPECT_EQ(QueryInt(QStringLiteral("select count(*) from Alam where bLook<>0")), 0);

    gAlam->Delete(id);
    EXPECT_EQ(QueryInt(QStringLiteral("select count(*) from Alam")), 0);
    EXPECT_THROW(gAlam->Load(id), EAppError);
}

TEST_F(UntAlamTest, ListTextsPerKind) {
    SetNow(At(2024, 3, 15, 8, 0));
    const QString once = AddReminder(akOnce, 9, 30, 1, QDate(2024, 3, 15), QStringLiteral("一次"));
    const QString daily = AddReminder(akDaily, 9, 30, 1, QDate(2024, 3, 15), QStringLiteral("天天"));
    const QString weekly = AddReminder(akWeekly, 9, 30, 1, QDate(2024, 3, 15), QStringLiteral("周一"));
    const QString monthly = AddReminder(akMonthly, 9, 30, 5, QDate(2024, 3, 15), QStringLiteral("五号"));
    gAlam->MarkSeen(daily);
    EXPECT_EQ(ViewRows(avAll), Sorted({
                                   once + QStringLiteral("|仅一次|2024-03-15  9时 30分|一次|"),
                                   daily + QStringLiteral("|每天| 9时 30分|天天|看过的"),
                                   weekly + QStringLiteral("|每周|每周 1  9时 30分|周一|"),
                                   monthly + QStringLiteral("|每月|每月 5号  9时 30分|五号|"),
                               }));
}

TEST_F(UntAlamTest, WeekDigitToTextNamesTheWeekday) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"每周 1  9时 30分", "每周一  9时 30分"}, {"每周 2  9时 30分", "每周二  9时 30分"},
        {"每周 3  0时 0分", "每周三  0时 0分"},   {"每周 4 12时 5分", "每周四 12时 5分"},
        {"每周 5  9时 30分", "每周五  9时 30分"}, {"每周 6  9时 30分", "每周六  9时 30分"},
        {"每周 7  9时 30分", "每周日  9时 30分"}, {"每周 8  9时 30分", "每周  9时 30分"},
        {"每周 0  9时 30分", "每周  9时 30分"},   {" 9时 30分", " 9时 30分"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WeekDigitToText(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST_F(UntAlamTest, ViewsOnChosenDates) {
    Add("A", akOnce, 9, 0, 1, QDate(2024, 3, 15));
    Add("B", akOnce, 8, 0, 1, QDate(2024, 3, 16));
    Add("I", akOnce, 15, 0, 1, QDate(2024, 3, 14));
    Add("C", akDaily, 7, 0, 1, QDate(2024, 3, 1));
    Add("D", akWeekly, 7, 0, 5, QDate(2024, 3, 1)); // Friday
    Add("E", akWeekly, 7, 0, 6, QDate(2024, 3, 1)); // Saturday
    Add("F", akWeekly, 7, 0, 7, QDate(2024, 3, 1)); // Sunday
    Add("G", akMonthly, 7, 0, 15, QDate(2024, 3, 1));
    Add("H", akMonthly, 7, 0, 16, QDate(2024, 3, 1));
    Add("J", akMonthly, 7, 0, 31, QDate(2024, 3, 1));
    Add("K", akMonthly, 7, 0, 29, QDate(2024, 3, 1));

    const struct {
        QDate today;
        QStringList today_, tomorrow;
    } cases[] = {
        {QDate(2024, 3, 15), {"A", "D", "G"}, {"B", "E", "H"}}, // a Friday
        {QDate(2024, 3, 16), {"B", "E", "H"}, {"F"}},           // a Saturday: Sunday's weekly is tomorrow
        {QDate(2024, 3, 17), {"F"}, {}},                        // a Sunday
        {QDate(2024, 3, 31), {"F", "J"}, {}},                   // day 31 in a month of 31 days
        {QDate(2024, 4, 30), {}, {}},                           // April has no day 31
        {QDate(2024, 1, 30), {}, {"J"}},
        {QDate(2023, 2, 28), {}, {}},    // no 29 February in a common year
        {QDate(2024, 2, 28), {}, {"K"}}, // a leap year has it
        {QDate(2024, 2, 29), {"K"}, {"D"}},
    };
    for (const auto& c : cases) {
        SetNow(QDateTime(c.today, QTime(6, 0)));
        EXPECT_EQ(ViewNames(avToday), c.today_) << c.today.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(ViewNames(avTomorrow), c.tomorrow) << c.today.toString(Qt::ISODate).toStdString();
    }
    SetNow(At(2024, 3, 15, 10, 30));
    EXPECT_EQ(ViewNames(avAll), Sorted({"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K"}));
    EXPECT_EQ(ViewNames(avMissed), Sorted({"A", "I"}));
    EXPECT_EQ(ViewNames(avDaily), QStringList{"C"});
    EXPECT_EQ(ViewNames(avWeekly), Sorted({"D", "E", "F"}));
    EXPECT_EQ(ViewNames(avMonthly), Sorted({"G", "H", "J", "K"}));
}

TEST_F(UntAlamTest, MissedMeansUnseenOneTimeFromEarlierDaysOrTodayPastItsHour) {
    const QDate today(2024, 3, 15);
    const QString today9 = AddOnce(today, 9, 0, QStringLiteral("今天九点"));
    const QString yesterday15 = AddOnce(today.addDays(-1), 15, 0, QStringLiteral("昨天三点"));
    const QString lastYear = AddOnce(QDate(2023, 6, 1), 23, 59, QStringLiteral("去年"));
    const QString seen = AddOnce(today.addDays(-1), 8, 0, QStringLiteral("看过"));
    gAlam->MarkSeen(seen);
    const QString tomorrow = AddOnce(today.addDays(1), 1, 0, QStringLiteral("明天"));
    const QString tonight = AddOnce(today, 23, 0, QStringLiteral("今晚"));
    const QString daily = AddReminder(akDaily, 1, 0, 1, today.addDays(-3), QStringLiteral("每天"));

    const struct {
        QTime now;
        QStringList missed;
    } cases[] = {
        {QTime(9, 59, 59), {yesterday15, lastYear}},
        {QTime(10, 0, 0), {today9, yesterday15, lastYear}},
        {QTime(16, 0, 0), {today9, yesterday15, lastYear}},
        {QTime(0, 0, 0), {yesterday15, lastYear}},
    };
    for (const auto& c : cases) {
        SetNow(QDateTime(today, c.now));
        QStringList ids;
        for (const QString& row : Rows(TAlam::ListSql(avMissed)))
            ids << row.section(QLatin1Char('|'), 0, 0);
        EXPECT_EQ(Sorted(ids), Sorted(c.missed)) << c.now.toString().toStdString();
        for (const QString& id : {today9, yesterday15, lastYear, seen, tomorrow, tonight, daily})
            EXPECT_EQ(gAlam->IsMissed(id), c.missed.contains(id)) << id.toStdString();
    }
}

TEST_F(UntAlamTest, DueQueryAtSecondZeroOfAMinute) {
    const QDate monday(2024, 3, 18);
    std::map<QString, QString> n;
    n[AddOnce(monday, 9, 30, QStringLiteral("今天"))] = "once";
    n[AddReminder(akDaily, 9, 30, 1, QDate(2024, 1, 1), QStringLiteral("每天"))] = "daily";
    n[AddReminder(akWeekly, 9, 30, 1, QDate(2024, 1, 1), QStringLiteral("周一"))] = "weekly";
    n[AddReminder(akMonthly, 9, 30, 18, QDate(2024, 1, 1), QStringLiteral("十八号"))] = "monthly";
    const QString seen = AddOnce(monday, 9, 30, QStringLiteral("看过也提醒"));
    gAlam->MarkSeen(seen);
    n[seen] = "seen";
    AddOnce(monday.addDays(-1), 9, 30, QStringLiteral("昨天"));
    AddReminder(akDaily, 9, 31, 1, QDate(2024, 1, 1), QStringLiteral("下一分钟"));
    AddReminder(akDaily, 10, 30, 1, QDate(2024, 1, 1), QStringLiteral("下一小时"));
    AddReminder(akWeekly, 9, 30, 2, QDate(2024, 1, 1), QStringLiteral("周二"));
    AddReminder(akMonthly, 9, 30, 17, QDate(2024, 1, 1), QStringLiteral("十七号"));

    // The clock does not matter: the minute asked for does.
    SetNow(At(2030, 1, 1, 12, 0));
    QStringList due;
    for (const TDueAlam& d : gAlam->DueAt(QDateTime(monday, QTime(9, 30)))) {
        due << n[d.ID];
        EXPECT_EQ(d.ReDay != akOnce, n[d.ID] != "once" && n[d.ID] != "seen");
    }
    EXPECT_EQ(Sorted(due), Sorted({"once", "daily", "weekly", "monthly", "seen"}));
    EXPECT_TRUE(gAlam->DueAt(QDateTime(monday, QTime(9, 29))).empty());
    // A Sunday's weekly reminder is due on Sundays.
    const QString sunday = AddReminder(akWeekly, 8, 0, 7, QDate(2024, 1, 1), QStringLiteral("周日"));
    ASSERT_EQ(gAlam->DueAt(At(2024, 3, 17, 8, 0)).size(), 1u);
    EXPECT_EQ(gAlam->DueAt(At(2024, 3, 17, 8, 0))[0].ID, sunday);
    EXPECT_TRUE(gAlam->DueAt(At(2024, 3, 16, 8, 0)).empty());
}

TEST_F(UntAlamTest, SnoozeMovesDateHourAndMinuteFromOneMoment) {
    const struct {
        QDateTime now;
        int choice;
        QDate date;
        int hour, minute;
    } cases[] = {
        {At(2024, 3, 15, 9, 30, 20), 0, QDate(2024, 3, 15), 9, 33},
        {At(2024, 3, 15, 9, 58, 0), 1, QDate(2024, 3, 15), 10, 3},
        {At(2024, 3, 15, 9, 55, 0), 2, QDate(2024, 3, 15), 10, 5},
        {At(2024, 3, 15, 9, 45, 0), 3, QDate(2024, 3, 15), 10, 15},
        {At(2024, 3, 15, 23, 58, 30), 0, QDate(2024, 3, 16), 0, 1},
        {At(2024, 3, 15, 23, 30, 0), 4, QDate(2024, 3, 16), 0, 30},
        {At(2024, 12, 31, 23, 45, 0), 3, QDate(2025, 1, 1), 0, 15},
        {At(2024, 2, 28, 23, 59, 59), 0, QDate(2024, 2, 29), 0, 2},
    };
    for (const auto& c : cases) {
        const QString id = AddOnce(QDate(2024, 1, 1), 1, 2, QStringLiteral("稍后"));
        gAlam->MarkSeen(id);
        SetNow(c.now);
        gAlam->Snooze(id, c.choice);
        gAlam->Load(id);
        EXPECT_EQ(gAlam->AlamDate.date(), c.date) << c.now.toString().toStdString();
        EXPECT_EQ(gAlam->iHour, c.hour) << c.now.toString().toStdString();
        EXPECT_EQ(gAlam->iMinute, c.minute) << c.now.toString().toStdString();
        EXPECT_EQ(gAlam->ReDay, akOnce);
        EXPECT_EQ(gAlam->ReMark, QStringLiteral("稍后"));
        // Snoozing leaves the seen flag alone.
        EXPECT_EQ(QueryInt(QStringLiteral("select count(*) from Alam where bLook<>0 and ID=") + id), 1);
    }
    const QString id = AddOnce(QDate(2024, 1, 1), 1, 2, QStringLiteral("x"));
    EXPECT_THROW(gAlam->Snooze(id, 5), EAppError);
    EXPECT_THROW(gAlam->Snooze(id, -1), EAppError);
}

TEST_F(UntAlamTest, AOneHourSnoozeAtHalfPastElevenMovesToTomorrowsView) {
    SetNow(At(2024, 3, 15, 23, 30));
    const QString id = AddOnce(QDate(2024, 3, 15), 23, 30, QStringLiteral("睡前"));
    ASSERT_EQ(Rows(TAlam::ListSql(avToday)).size(), 1);
    gAlam->Snooze(id, 4);
    EXPECT_TRUE(Rows(TAlam::ListSql(avToday)).isEmpty());
    EXPECT_EQ(Rows(TAlam::ListSql(avTomorrow)).size(), 1);
    // It then falls due at 0:30 tomorrow.
    ASSERT_EQ(gAlam->DueAt(At(2024, 3, 16, 0, 30)).size(), 1u);
}

TEST_F(UntAlamTest, PresetsKeepQuotesSeparatorsAndLineBreaks) {
    const QString first = QStringLiteral("It's 开会@#@时间");
    const QString second = QStringLiteral("第一行\n'第二行'");
    const QString a = AddPreset(first);
    const QString b = AddPreset(second);
    EXPECT_EQ(Rows(TAlamContext::ListSql()),
              (QStringList{a + QLatin1Char('|') + first, b + QLatin1Char('|') + second}));
    gAlamContext->ReMark = QStringLiteral("改过的 '@#@'");
    gAlamContext->Update(a);
    gAlamContext->Delete(b);
    EXPECT_EQ(Rows(TAlamContext::ListSql()), QStringList{a + QStringLiteral("|改过的 '@#@'")});
}
