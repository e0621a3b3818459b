// bookkeep_core
#include "reminders/AlamCheck.h"

#include <algorithm>

namespace {
constexpr qint64 kMinuteMs = 60 * 1000;
}

TDueMinutes::TDueMinutes(const QDateTime& start) {
    const qint64 ms = start.toMSecsSinceEpoch();
    m_last = MinuteOf(start);
    if (ms % kMinuteMs == 0) --m_last;
}

qint64 TDueMinutes::MinuteOf(const QDateTime& moment) {
    const qint64 ms = moment.toMSecsSinceEpoch();
    // Floor, also before the epoch.
    return ms >= 0 ? ms / kMinuteMs : -((-ms + kMinuteMs - 1) / kMinuteMs);
}

std::vector<QDateTime> TDueMinutes::Take(const QDateTime& now) {
    const qint64 current = MinuteOf(now);
    std::vector<QDateTime> minutes;
    if (current > m_last) {
        const qint64 first = std::max(m_last + 1, current - MaxCatchUp + 1);
        for (qint64 m = first; m <= current; ++m)
            minutes.push_back(QDateTime::fromMSecsSinceEpoch(m * kMinuteMs));
    }
    m_last = current;
    return minutes;
}

QDateTime TDueMinutes::LastChecked() const {
    return QDateTime::fromMSecsSinceEpoch(m_last * kMinuteMs);
}
