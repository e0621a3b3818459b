#pragma once
// The reminder page's behaviour and the main window's reminder work: the views, the commands of the list,
// the check on the main window's timer and the answers the popups post back.
#include "reminders/AlamCheck.h"

#include <QObject>
#include <QString>
#include <functional>

class TAlamPage;

class TAlamCommands : public QObject {
    Q_OBJECT
public:
    // page owns this object. The check starts watching the clock now.
    explicit TAlamCommands(TAlamPage* page);

    // Fills the list with a view (the first show fills view 0).
    void FillList(int view);
    // Fills the list again with the view selected on the page.
    void Refill();

    void rgAlamClick();
    void NAddAlamClick();
    void NModAlamClick();
    void NDelAlamClick();
    void lv1DblClick();

    // The main window's reminder timer: checks every minute begun since the last check, once, in order.
    void tmr1Timer();

    // The popups' answers, with the reminder's ID; each returns after the change and the list's update.
    void WMAlamDelete(const QString& id);
    void WMAlamSeen(const QString& id);
    void WMAlamSnooze(const QString& id, int choice);
    // Handles a posted reminder message; false for any other message.
    bool HandleMessage(int message, qintptr wParam, qintptr lParam);

    // What the check does with a due reminder; by default it pops up (tests may look instead).
    std::function<void(const QString& id, const QString& text, bool repeating)> ShowPopup;

    const TDueMinutes& Minutes() const { return m_minutes; }

private:
    TAlamPage* m_page;
    TDueMinutes m_minutes;
};
