#pragma once
// The reminder store: every statement on the table Alam, the seven views of the reminder list, the missed
// test and the due query of the reminder check.
#include <QDateTime>
#include <QString>
#include <vector>

// Repetition kinds (ReDay).
enum TAlamKind { akOnce = 0, akDaily = 1, akWeekly = 2, akMonthly = 3 };

// Views of the reminder list, in the order of the view selector.
enum TAlamView { avAll = 0, avToday, avTomorrow, avMissed, avDaily, avWeekly, avMonthly, avCount };

// A reminder that is due: its ID (as text), its kind and its text.
struct TDueAlam {
    QString ID;
    int ReDay = 0;
    QString ReMark;
};

class TAlam {
public:
    // The values of one reminder; the editor sets them before Insert or Update, Load fills them.
    QDateTime AlamDate;
    QString ReMark;
    int ReDay = 0;
    int iHour = 0;
    int iMinute = 0;
    int iMonWeek = 0;

    // A new reminder is unseen.
    void Insert();
    // A changed reminder is unseen again.
    void Update(const QString& id);
    void Delete(const QString& id);
    // Raises an error when the reminder is gone.
    void Load(const QString& id);
    void MarkSeen(const QString& id);
    // Moves a reminder to now plus 3, 5, 10, 30 or 60 minutes (choice 0 to 4); its kind, text and seen flag
    // stay as they are.
    void Snooze(const QString& id, int choice);
    static int SnoozeMinutes(int choice);

    // The list statement of a view: columns ID, kind text, time text, text, status text.
    static QString ListSql(int view);
    // Unseen, one-time, and dated before today or dated today with its hour passed.
    bool IsMissed(const QString& id);
    // The reminders due at second 0 of the minute that holds moment, read on the second result set so that
    // the one the list and the editor use is left alone.
    std::vector<TDueAlam> DueAt(const QDateTime& moment);
};

extern TAlam* gAlam;

// The kind texts of the list: "仅一次", "每天", "每周", "每月".
QString AlamKindText(int reDay);

// "每周 1  9时 30分" reads "每周一  9时 30分": the blank and the digit after "每周" become the weekday's
// name; any other value leaves nothing in their place.
QString WeekDigitToText(const QString& text);
