#pragma once
// The frame of every dialog that enters or changes one thing: a client area for the dialog's controls and
// a bottom bar with "确定(&O)" (the default button) and "取消(&C)" (also Esc).
#include <QDialog>

class QFrame;
class QPushButton;

class TFormBaseDlg : public QDialog {
    Q_OBJECT
public:
    // Without a parent the dialog belongs to the main window.
    explicit TFormBaseDlg(QWidget* parent = nullptr);

    // Dialogs put their own controls here; it has no layout of its own.
    QWidget* pnlClient() const { return m_pnlClient; }
    QFrame* pnlBottom() const { return m_pnlBottom; }
    QPushButton* btnOK() const { return m_btnOK; }
    QPushButton* btnCancel() const { return m_btnCancel; }

protected:
    // "确定(&O)": validates, does the work and closes with accept(), or throws and leaves the dialog open
    // with its input. The base has no result of its own.
    virtual void btnOKClick();

    void showEvent(QShowEvent* event) override;

private:
    QWidget* m_pnlClient;
    QFrame* m_pnlBottom;
    QPushButton* m_btnOK;
    QPushButton* m_btnCancel;
    bool m_placed = false;
};

// Centres a window's frame on the main window (on the screen while there is none shown).
void CenterOnMainWindow(QWidget* window);
