#pragma once
// The waiting window: a borderless one-line message on top of everything while slow work runs on the
// user-interface thread. ShowWaiting / HideWaiting (UntPublic.h) drive it once it is installed.
#include "common/Seams.h"

#include <QWidget>

class QLabel;

class TFormWaiting : public QWidget, public IWaitingIndicator {
    Q_OBJECT
public:
    TFormWaiting();
    ~TFormWaiting() override;

    QLabel* Panel1() const { return m_panel1; }
    bool BusyCursorShown() const { return m_cursorSet; }

    // Sets the message unless it is empty, shows the window centred on the main window, lets it paint
    // and puts up the busy cursor. A second call only replaces the message.
    void ShowMessage(const QString& text) override;
    // Hides the window and takes the busy cursor down.
    void Hide() override;

private:
    QLabel* m_panel1;
    bool m_cursorSet = false;
};

// The one waiting window of the process; nullptr until the main window creates it.
extern TFormWaiting* gFormWaiting;

// Creates gFormWaiting (once) and installs it behind ShowWaiting / HideWaiting.
void CreateFormWaiting();
// Uninstalls and frees gFormWaiting.
void FreeFormWaiting();
