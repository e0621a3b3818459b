#pragma once
// Messages that windows post to the main window; handled later on the UI thread in the order posted.
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>

constexpr int WM_USER = 0x0400;
constexpr int WM_ALAMDELETE = WM_USER + 1;
constexpr int WM_ALAMSEEN = WM_USER + 2;
constexpr int WM_ALAMSNOOZE = WM_USER + 3;
constexpr int WM_REFRESHGOODS = WM_USER + 100;

// A posted message: its event type is QEvent::User + (message - WM_USER).
class TPostedMessage : public QEvent {
public:
    TPostedMessage(int message, qintptr wParam, qintptr lParam)
        : QEvent(EventType(message)), Message(message), WParam(wParam), LParam(lParam) {}
    static QEvent::Type EventType(int message) { return QEvent::Type(QEvent::User + (message - WM_USER)); }
    static bool IsPostedMessage(const QEvent* e) {
        return e->type() >= QEvent::User && e->type() <= QEvent::User + 0x7FFF;
    }
    int Message;
    qintptr WParam;
    qintptr LParam;
};

// The main window registers itself here so that other windows can post to it without knowing it.
QObject*& MainWindowTarget();

inline void PostToMainWindow(int message, qintptr wParam = 0, qintptr lParam = 0) {
    if (QObject* target = MainWindowTarget())
        QCoreApplication::postEvent(target, new TPostedMessage(message, wParam, lParam));
}
