#pragma once
// A single-line box that lets only a number be typed and repairs its text when the user leaves it. It holds
// the number as text; whoever reads it converts the text.
#include <QLineEdit>

enum class TTextType { FloatText, IntegerText, NormalText };

class TCardFloatIntEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TCardFloatIntEdit(QWidget* parent = nullptr);

    // Setting either only stores it; the current text is left alone.
    TTextType TextType() const { return m_textType; }
    void SetTextType(TTextType type) { m_textType = type; }
    bool ZF() const { return m_zf; } // a minus sign may be typed
    void SetZF(bool zf) { m_zf = zf; }

    // Whether a typed character may go into text with the caret (selection start) at caret. Backspace is
    // character 8 and Enter character 13.
    static bool KeyAccepted(TTextType type, bool zf, const QString& text, int caret, QChar key);
    // The text after the user leaves the box.
    static QString RepairedText(TTextType type, const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int Caret() const;
    TTextType m_textType = TTextType::FloatText;
    bool m_zf = true;
};
