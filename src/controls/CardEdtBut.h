#pragma once
// A single-line edit with a small square button inside its right end.
#include <QLineEdit>
#include <QPixmap>

class QFrame;
class QToolButton;

// The built-in glyphs of the button.
enum TBmpCount { CardDown, CardOK, CardLookup, CardFolder, CardFind };

// One 20 × 10 bitmap per glyph for the whole process: the normal glyph on the left half, the greyed one on
// the right. Made on first request, then shared by every button edit.
const QPixmap& ButtonBitmap(TBmpCount kind);

class TCardEdtBut : public QLineEdit {
    Q_OBJECT
public:
    explicit TCardEdtBut(QWidget* parent = nullptr);
    ~TCardEdtBut() override;

    TBmpCount ButtonBmp() const { return m_buttonBmp; }
    void SetButtonBmp(TBmpCount kind);
    bool ButVisible() const { return m_butVisible; }
    void SetButVisible(bool visible);

    QToolButton* Button() const { return m_button; }
    QFrame* Panel() const { return m_panel; }
    // The bitmap the button's glyph was taken from.
    const QPixmap& Glyph() const { return ButtonBitmap(m_buttonBmp); }

    virtual void UpdateButton();
    virtual void DoButClick();

signals:
    void OnButClick(TCardEdtBut* sender);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ApplyGlyph();

    QToolButton* m_button;
    QFrame* m_panel;
    bool m_butVisible = true;
    TBmpCount m_buttonBmp = CardDown;
};
