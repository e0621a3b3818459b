// bookkeep_core
#include "reminders/UntAlam.h"

#include "common/Seams.h"
#include "common/UException.h"
#include "data/MD.h"

#include <iterator>

namespace {
TAlam gAlamInstance;

const char* const kListSql =
    "select ID,IIf(ReDay=0,'仅一次',IIf(ReDay=1,'每天',IIf(ReDay=2,'每周','每月'))),  "
    "IIf(ReDay=0,Format(AlamDate,'YYYY-MM-DD')+' '+Str(iHour)+'时'+Str(iMinute)+'分',  "
    "IIf(ReDay=1,Str(iHour)+'时'+Str(iMinute)+'分',  "
    "IIF(ReDay=2,'每周'+Str(iMonWeek)+' '+Str(iHour)+'时'+Str(iMinute)+'分',  "
    "'每月'+Str(iMonWeek)+'号 '+Str(iHour)+'时'+Str(iMinute)+'分' ))),  "
    "Remark,IIF(bLook,'看过的','') from  Alam where 1=1   ";

// A one-time reminder from an earlier day is missed whatever the hour is now; today's is missed once its
// hour has passed.
const char* const kMissed =
    "bLook=0 and ReDay = 0 and (AlamDate<Date() or (AlamDate=Date() and Hour(Time())>iHour)) ";

QString ViewFragment(int view) {
    switch (view) {
    case avToday:
        return QStringLiteral("and ((AlamDate=Date() and ReDay=0) or ") +
               QStringLiteral(" (ReDay=2 and WeekDay(date()-1)=iMonWeek ) or ") +
               QStringLiteral(" (ReDay=3 and Day(Date())=iMonWeek ) )");
    case avTomorrow:
        return QStringLiteral("and ((AlamDate=Date()+1 and ReDay=0) or ") +
               QStringLiteral(" (ReDay=2 and WeekDay(date())=iMonWeek ) or ") +
               QStringLiteral(" (ReDay=3 and Day(Date()+1)=iMonWeek ) )");
    case avMissed:
        return QStringLiteral("and ") + QString::fromUtf8(kMissed);
    case avDaily:
        return QStringLiteral("and ReDay = 1 ");
    case avWeekly:
        return QStringLiteral("and ReDay = 2 ");
    case avMonthly:
        return QStringLiteral("and ReDay = 3 ");
    default:
        return QString();
    }
}

qlonglong IdValue(const QString& id) {
    return id.trimmed().toLongLong();
}

QVariantList Values(const TAlam& a) {
    return {a.iHour, a.iMinute, a.iMonWeek, a.ReDay, a.AlamDate.date(), a.ReMark};
}

} // namespace

TAlam* gAlam = &gAlamInstance;

void TAlam::Insert() {
    ExecSql(QStringLiteral("Insert into Alam(iHour,iMinute,iMonWeek,ReDay,AlamDate,ReMark)  "
                           "values(?,?,?,?,?,?) "),
            Values(*this));
}

void TAlam::Update(const QString& id) {
    QVariantList params = Values(*this);
    params << IdValue(id);
    ExecSql(QStringLiteral("update Alam set iHour=?,iMinute=?,iMonWeek=?,ReDay=?,  AlamDate=?,Remark=?,"
                           "bLook=0 where ID=?  "),
            params);
}

void TAlam::Delete(const QString& id) {
    ExecSql(QStringLiteral("delete from Alam where ID=? "), {IdValue(id)});
}

void TAlam::Load(const QString& id) {
    gDbAccess->OpenQuery(QStringLiteral("select * from Alam where ID=? "), {IdValue(id)});
    TResultSet* rs = gDbAccess->QueryData;
    if (rs->Eof()) throw EAppError(QStringLiteral("这条提醒已经不存在了！"));
    iHour = rs->FieldByName(QStringLiteral("iHour")).AsInteger();
    iMinute = rs->FieldByName(QStringLiteral("iMinute")).AsInteger();
    iMonWeek = rs->FieldByName(QStringLiteral("iMonWeek")).AsInteger();
    ReDay = rs->FieldByName(QStringLiteral("ReDay")).AsInteger();
    AlamDate = rs->FieldByName(QStringLiteral("AlamDate")).AsDateTime();
    ReMark = rs->FieldByName(QStringLiteral("ReMark")).AsString();
}

void TAlam::MarkSeen(const QString& id) {
    ExecSql(QStringLiteral("update Alam set bLook=1 where ID=?"), {IdValue(id)});
}

int TAlam::SnoozeMinutes(int choice) {
    static const int minutes[] = {3, 5, 10, 30, 60};
    if (choice < 0 || choice >= int(std::size(minutes)))
        throw EAppError(QStringLiteral("无效的再次提醒时间：%1").arg(choice));
    return minutes[choice];
}

void TAlam::Snooze(const QString& id, int choice) {
    // Date, hour and minute all come from the one new moment, so a span past midnight moves the date too.
    const QDateTime moment = Now().addSecs(qint64(SnoozeMinutes(choice)) * 60);
    ExecSql(QStringLiteral("update Alam set AlamDate=?,iHour=?,iMinute=? where ID=?  "),
            {moment.date(), moment.time().hour(), moment.time().minute(), IdValue(id)});
}

QString TAlam::ListSql(int view) {
    return QString::fromUtf8(kListSql) + ViewFragment(view);
}

bool TAlam::IsMissed(const QString& id) {
    return QueryInt(QStringLiteral("select count(ID) from Alam where ID=? and  ") +
                        QString::fromUtf8(kMissed),
                    {IdValue(id)}) > 0;
}

std::vector<TDueAlam> TAlam::DueAt(const QDateTime& moment) {
    const QDate day = moment.date();
    // The due rule with the minute's own date, hour and minute in place of the clock's.
    gDbAccess->OpenQuery2(QStringLiteral("select ID,ReDay,Remark from Alam  where ?=iHour and ?=iMinute  "
                                         "and ((AlamDate=? and ReDay=0) or (ReDay=1) or   "
                                         "(ReDay=2 and WeekDay(?)=iMonWeek ) or  "
                                         "(ReDay=3 and Day(?)=iMonWeek ) ) "),
                          {moment.time().hour(), moment.time().minute(), day, day.addDays(-1), day});
    TResultSet* rs = gDbAccess->QueryData2;
    std::vector<TDueAlam> due;
    for (rs->First(); !rs->Eof(); rs->Next())
        due.push_back({rs->Fields(0).AsString(), rs->Fields(1).AsInteger(), rs->Fields(2).AsString()});
    return due;
}

QString AlamKindText(int reDay) {
    switch (reDay) {
    case akOnce:
        return QStringLiteral("仅一次");
    case akDaily:
        return QStringLiteral("每天");
    case akWeekly:
        return QStringLiteral("每周");
    default:
        return QStringLiteral("每月");
    }
}

QString WeekDigitToText(const QString& text) {
    static const QString week = QStringLiteral("每周");
    const int at = int(text.indexOf(week));
    if (at < 0) return text;
    const int from = at + int(week.size());
    const QString digit = text.mid(from, 2).trimmed();
    static const QString names = QStringLiteral("一二三四五六日");
    QString name;
    bool ok = false;
    const int n = digit.toInt(&ok);
    if (ok && digit.size() == 1 && n >= 1 && n <= 7) name = names.at(n - 1);
    return text.left(from) + name + text.mid(from + 2);
}
