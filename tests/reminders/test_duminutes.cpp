// bookkeep_core
// The minutes the reminder check owes: late ticks, gaps, long sleeps and a clock put back.
#include "reminders/AlamCheck.h"

#include <QDate>
#include <QDateTime>
#include <gtest/gtest.h>

namespace {

QDateTime T(int hour, int minute, int second = 0, int ms = 0, int day = 15) {
    return QDateTime(QDate(2024, 3, day), QTime(hour, minute, second, ms));
}

QStringList Names(const std::vector<QDateTime>& minutes) {
    QStringList out;
    for (const QDateTime& m : minutes) {
        EXPECT_EQ(m.time().second(), 0);
        EXPECT_EQ(m.time().msec(), 0);
        out << m.toString(QStringLiteral("d HH:mm"));
    }
    return out;
}

} // namespace

TEST(DueMinutes, TicksOnTimeGiveEachMinuteOnce) {
    TDueMinutes minutes(T(9, 29, 30));
    EXPECT_TRUE(minutes.Take(T(9, 29, 31)).empty());
    EXPECT_TRUE(minutes.Take(T(9, 29, 59, 900)).empty());
    EXPECT_EQ(Names(minutes.Take(T(9, 30, 0, 100))), QStringList{"15 09:30"});
    // The following ticks of the same minute owe nothing.
    EXPECT_TRUE(minutes.Take(T(9, 30, 0, 900)).empty());
    EXPECT_TRUE(minutes.Take(T(9, 30, 1)).empty());
    EXPECT_EQ(Names(minutes.Take(T(9, 31, 0))), QStringList{"15 09:31"});
    EXPECT_EQ(minutes.LastChecked(), T(9, 31));
}

TEST(DueMinutes, ALateTickStillGivesTheMinuteItMissedTheZeroSecondOf) {
    const struct {
        QDateTime before, late;
        QStringList owed;
    } cases[] = {
        // A tick at :59.9 and the next at :01.0 never meet second 0.
        {T(9, 29, 59, 900), T(9, 30, 1, 0), {"15 09:30"}},
        // A busy moment or a modal loop held the ticks back for a few minutes.
        {T(9, 30, 0, 10),
         T(9, 36, 12),
         {"15 09:31", "15 09:32", "15 09:33", "15 09:34", "15 09:35", "15 09:36"}},
        // Across the hour and midnight.
        {T(9, 58, 30), T(10, 1, 5), {"15 09:59", "15 10:00", "15 10:01"}},
        {T(23, 59, 2), T(0, 0, 3, 0, 16), {"16 00:00"}},
    };
    for (const auto& c : cases) {
        TDueMinutes minutes(c.before.addSecs(-1));
        minutes.Take(c.before);
        EXPECT_EQ(Names(minutes.Take(c.late)), c.owed) << c.late.toString().toStdString();
        EXPECT_TRUE(minutes.Take(c.late.addMSecs(500)).empty());
    }
}

TEST(DueMinutes, AfterALongSleepOnlyTheLastHourIsChecked) {
    TDueMinutes minutes(T(6, 0, 30));
    const std::vector<QDateTime> owed = minutes.Take(T(9, 30, 20));
    ASSERT_EQ(int(owed.size()), TDueMinutes::MaxCatchUp);
    EXPECT_EQ(owed.front(), T(8, 31));
    EXPECT_EQ(owed.back(), T(9, 30));
    for (size_t i = 1; i < owed.size(); ++i)
        EXPECT_EQ(owed[i - 1].secsTo(owed[i]), 60);
}

TEST(DueMinutes, TheMinuteOfTheStartIsOwedOnlyWhenItBeginsAtTheStart) {
    TDueMinutes atZero(T(9, 30, 0));
    EXPECT_EQ(Names(atZero.Take(T(9, 30, 0, 300))), QStringList{"15 09:30"});
    TDueMinutes later(T(9, 30, 0, 1));
    EXPECT_TRUE(later.Take(T(9, 30, 0, 300)).empty());
    EXPECT_EQ(Names(later.Take(T(9, 31, 0, 300))), QStringList{"15 09:31"});
}

TEST(DueMinutes, AClockPutBackOwesNothingUntilItMovesOnAgain) {
    TDueMinutes minutes(T(9, 40, 30));
    EXPECT_EQ(Names(minutes.Take(T(9, 41, 0))), QStringList{"15 09:41"});
    EXPECT_TRUE(minutes.Take(T(9, 20, 10)).empty());
    EXPECT_TRUE(minutes.Take(T(9, 20, 40)).empty());
    EXPECT_EQ(Names(minutes.Take(T(9, 21, 0))), QStringList{"15 09:21"});
}
