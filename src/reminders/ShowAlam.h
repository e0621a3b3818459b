#pragma once
// The reminder popup: shown without waiting in the bottom-right corner of the screen, several at once, each
// owned by nobody. It changes nothing itself; it posts the user's answer to the main window.
#include <QString>
#include <QWidget>

class QAction;
class QMenu;
class QPropertyAnimation;
class QPushButton;
class QTextEdit;

class TFormShowAlam : public QWidget {
    Q_OBJECT
public:
    TFormShowAlam();

    QString AlamId;
    bool Repeating = false;

    // Fills the window for one reminder; a repeating one offers the single button "看到了".
    void SetAlam(const QString& id, const QString& text, bool repeating);
    // Places the window in the corner and rolls it up from its bottom edge.
    void ShowPopup();

    QTextEdit* mmo1() const { return m_mmo1; }
    QPushButton* btnCon() const { return m_btnCon; }
    QPushButton* btnOkDel() const { return m_btnOkDel; }
    QPushButton* btnOkSave() const { return m_btnOkSave; }
    QMenu* pm1() const { return m_pm1; }
    QAction* SnoozeItem(int choice) const;
    // The running roll-in (null once it has ended) and the place the window rolls into.
    QPropertyAnimation* RollIn() const;
    QRect TargetGeometry() const { return m_target; }

    void btnOkSaveClick();
    void btnOkDelClick();
    void btnConClick();
    void SnoozeClick(int choice);

    static constexpr int ClientWidth = 292;
    static constexpr int ClientHeight = 198;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    QMargins FrameMargins() const;
    void SettleInCorner(const QRect& available);

    QWidget* m_pnlContent;
    QTextEdit* m_mmo1;
    QPushButton* m_btnCon;
    QPushButton* m_btnOkDel;
    QPushButton* m_btnOkSave;
    QMenu* m_pm1;
    QAction* m_snooze[5] = {};
    QRect m_target;
};

// Creates, fills and shows a popup without waiting, with the chime; returns the window, which deletes
// itself when it closes.
TFormShowAlam* ShowAlamPopup(const QString& id, const QString& text, bool repeating);

// The client rectangle of a popup in the bottom-right corner of an available area, for a frame that adds
// frameMargins around the client area.
QRect PopupPlace(const QRect& available, const QMargins& frameMargins);
