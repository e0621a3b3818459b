#pragma once
// Which minutes the reminder check still owes. A tick can come late (a busy moment, a modal loop, a
// suspended machine), so the check does not rely on meeting second 0: it remembers the last minute it
// checked and, on every tick, hands out each minute begun since then, in order and never one twice.
#include <QDateTime>
#include <vector>

class TDueMinutes {
public:
    // After a long gap only this many of the latest minutes are checked; older ones are left to the missed
    // view.
    static constexpr int MaxCatchUp = 60;

    // Starts watching at start: a minute that began before it has not been waited for (one that begins at
    // start exactly, in its second 0, has).
    explicit TDueMinutes(const QDateTime& start);

    // The minutes begun since the last call, oldest first, each as its second 0; they count as checked from
    // now on, so a check that fails is not repeated before the next minute begins. When the clock went
    // back, nothing is owed until it passes the minute it went back to.
    std::vector<QDateTime> Take(const QDateTime& now);

    QDateTime LastChecked() const;

private:
    static qint64 MinuteOf(const QDateTime& moment);
    qint64 m_last; // minutes since the epoch
};
