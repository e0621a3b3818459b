#pragma once
// Tools for tests of the reminder popups: a stand-in for the main window that records what is posted to it,
// a chime that only counts, and the popups that are open.
#include "common/WindowMessages.h"
#include "reminders/Chime.h"
#include "reminders/ShowAlam.h"

#include <QApplication>
#include <QEvent>
#include <QList>
#include <QObject>
#include <vector>

struct TPosted {
    int message;
    qintptr wParam;
    qintptr lParam;
    bool operator==(const TPosted& o) const {
        return message == o.message && wParam == o.wParam && lParam == o.lParam;
    }
};

class TPostRecorder : public QObject {
public:
    TPostRecorder() : m_previous(MainWindowTarget()) { MainWindowTarget() = this; }
    ~TPostRecorder() override { MainWindowTarget() = m_previous; }
    // Delivers what was posted so far and returns everything received.
    const std::vector<TPosted>& Received() {
        QCoreApplication::sendPostedEvents(this);
        return m_received;
    }
    // What has arrived without delivering anything more.
    size_t Arrived() const { return m_received.size(); }

protected:
    bool event(QEvent* e) override {
        if (auto* m = TPostedMessage::IsPostedMessage(e) ? dynamic_cast<TPostedMessage*>(e) : nullptr) {
            m_received.push_back({m->Message, m->WParam, m->LParam});
            return true;
        }
        return QObject::event(e);
    }

private:
    QObject* m_previous;
    std::vector<TPosted> m_received;
};

// Counts chimes instead of playing them, for its lifetime.
class TCountingChime {
public:
    TCountingChime() {
        SetChimePlayer([this] { ++count; });
    }
    ~TCountingChime() { SetChimePlayer({}); }
    int count = 0;
};

inline QList<TFormShowAlam*> OpenPopups() {
    QList<TFormShowAlam*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<TFormShowAlam*>(w); p && p->isVisible()) out << p;
    return out;
}

inline void DeleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

inline void CloseAllPopups() {
    for (TFormShowAlam* p : OpenPopups())
        p->close();
    DeleteClosedWindows();
}
