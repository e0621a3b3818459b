#pragma once
// Reminders and presets for the tests, written through the stores themselves.
#include "data/MD.h"
#include "reminders/UntAlam.h"
#include "reminders/UntAlamContext.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <algorithm>

// Adds a reminder and returns its ID as text.
inline QString AddReminder(int reDay, int hour, int minute, int monWeek, const QDate& date,
                           const QString& text) {
    gAlam->ReDay = reDay;
    gAlam->iHour = hour;
    gAlam->iMinute = minute;
    gAlam->iMonWeek = monWeek;
    gAlam->AlamDate = QDateTime(date, QTime(0, 0));
    gAlam->ReMark = text;
    gAlam->Insert();
    return QString::number(QueryInt(QStringLiteral("select max(ID) from Alam")));
}

inline QString AddOnce(const QDate& date, int hour, int minute, const QString& text) {
    return AddReminder(akOnce, hour, minute, 1, date, text);
}

inline QString AddPreset(const QString& text) {
    gAlamContext->ReMark = text;
    gAlamContext->Insert();
    return QString::number(QueryInt(QStringLiteral("select max(ID) from AlamContext")));
}

inline QStringList Sorted(QStringList list) {
    std::sort(list.begin(), list.end());
    return list;
}

inline QDateTime At(int y, int m, int d, int hour, int minute, int second = 0, int ms = 0) {
    return QDateTime(QDate(y, m, d), QTime(hour, minute, second, ms));
}
