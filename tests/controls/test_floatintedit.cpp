#include "controls/CardFloatIntEdit.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace {

constexpr TTextType F = TTextType::FloatText;
constexpr TTextType I = TTextType::IntegerText;
constexpr TTextType N = TTextType::NormalText;

const char* TypeName(TTextType t) {
    return t == F ? "Float" : t == I ? "Integer" : "Normal";
}

// Types one key into the box the way the keyboard does.
void Type(QWidget* w, int key, const QString& text, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(w, &release);
}

} // namespace

TEST(FloatIntEdit, KeyFilterTable) {
    struct Case {
        TTextType type;
        bool zf;
        QString text;
        int caret;
        QChar key;
        bool accepted;
    } cases[] = {
        {F, true, "12", 2, '3', true},        {F, true, "12", 2, 'a', false},
        {F, true, "12", 2, ' ', false},       {F, true, "12", 2, QChar(8), true}, // backspace
        {F, true, "12", 2, QChar(13), true},                                      // Enter
        {F, true, "12", 2, QChar(22), false},                                     // Ctrl+V
        {F, true, "12", 2, QChar(3), false},                                      // Ctrl+C
        {F, true, "12", 2, '.', true},        {F, true, "1.2", 3, '.', false},    // a second point
        {I, true, "12", 2, '.', false}, // no point in a whole number
        {I, true, "", 0, '.', false},         {F, true, "12", 0, '-', true},
        {F, true, "12", 1, '-', false},                                        // not at the beginning
        {F, true, "12", 2, '-', false},       {F, false, "12", 0, '-', false}, // minus not allowed at all
        {I, false, "", 0, '-', false},        {I, true, "", 0, '-', true},
        {F, true, "-12", 0, '-', true},  // a minus already at the beginning: a second one is taken
        {F, true, "1-2", 0, '-', false}, // the first minus stands elsewhere
        {I, true, "5", 1, '7', true},         {N, false, "x", 1, 'a', true}, // nothing is filtered
        {N, false, "x", 1, '-', true},        {N, false, "x", 1, '.', true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TCardFloatIntEdit::KeyAccepted(c.type, c.zf, c.text, c.caret, c.key), c.accepted)
            << TypeName(c.type) << " zf=" << c.zf << " text=" << c.text.toStdString() << " caret=" << c.caret
            << " key=" << c.key.unicode();
}

TEST(FloatIntEdit, RepairTable) {
    struct Case {
        TTextType type;
        QString text;
        QString repaired;
    } cases[] = {
        {I, "", "0"},
        {I, "123", "123"},
        {I, "-45", "-45"},
        {I, "--45", "0"},
        {I, "-", "0"},
        {I, "2147483647", "2147483647"},
        {I, "-2147483648", "-2147483648"},
        {I, "2147483648", "0"},
        {I, "1.5", "0"},
        {I, "abc", "0"},
        {F, "", "0"},
        {F, ".5", "0.5"},
        {F, "5.", "5.0"},
        {F, ".", "0.0"},
        {F, "-", "0"},
        {F, "--5", "0"},
        {F, "-3.25", "-3.25"},
        {F, "12", "12"},
        {F, "1.2.3", "0"},
        {F, "abc", "0"},
        {N, "", ""},
        {N, "abc", "abc"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TCardFloatIntEdit::RepairedText(c.type, c.text), c.repaired)
            << TypeName(c.type) << " text=" << c.text.toStdString();
}

TEST(FloatIntEdit, NewBoxAndProperties) {
    TCardFloatIntEdit e;
    EXPECT_EQ(e.text(), QStringLiteral("0"));
    EXPECT_EQ(e.TextType(), TTextType::FloatText);
    EXPECT_TRUE(e.ZF());
    e.setText(QStringLiteral("abc")); // text set by the program is not filtered
    e.SetTextType(TTextType::IntegerText);
    e.SetZF(false);
    EXPECT_EQ(e.text(), QStringLiteral("abc"));
}

TEST(FloatIntEdit, TypedKeysGoThroughTheFilter) {
    TCardFloatIntEdit e;
    e.clear();
    Type(&e, Qt::Key_1, "1");
    Type(&e, Qt::Key_A, "a");
    Type(&e, Qt::Key_Period, ".");
    Type(&e, Qt::Key_5, "5");
    Type(&e, Qt::Key_Period, ".");
    Type(&e, Qt::Key_Minus, "-"); // caret at the end
    EXPECT_EQ(e.text(), QStringLiteral("1.5"));
    e.setCursorPosition(0);
    Type(&e, Qt::Key_Minus, "-");
    EXPECT_EQ(e.text(), QStringLiteral("-1.5"));
    Type(&e, Qt::Key_Left, QString()); // keys without a character stay the edit's own
    EXPECT_EQ(e.cursorPosition(), 0);
    Type(&e, Qt::Key_End, QString());
    Type(&e, Qt::Key_Backspace, "\b");
    EXPECT_EQ(e.text(), QStringLiteral("-1."));
}

TEST(FloatIntEdit, CtrlShortcutsAreDropped) {
    TCardFloatIntEdit e;
    e.SetTextType(TTextType::IntegerText);
    e.setText(QStringLiteral("12"));
    e.selectAll();
    Type(&e, Qt::Key_X, "\x18", Qt::ControlModifier); // cut
    EXPECT_EQ(e.text(), QStringLiteral("12"));
}

TEST(FloatIntEdit, InputMethodTextIsFiltered) {
    TCardFloatIntEdit e;
    e.SetTextType(TTextType::IntegerText);
    e.clear();
    QInputMethodEvent ev;
    ev.setCommitString(QStringLiteral("1二3.4"));
    QApplication::sendEvent(&e, &ev);
    EXPECT_EQ(e.text(), QStringLiteral("134"));
}

TEST(FloatIntEdit, LeavingRepairs) {
    QWidget host;
    auto* e = new TCardFloatIntEdit(&host);
    auto* other = new TCardFloatIntEdit(&host);
    host.show();
    e->setText(QStringLiteral("."));
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(e, &out);
    EXPECT_EQ(e->text(), QStringLiteral("0.0"));
    other->SetTextType(TTextType::NormalText);
    other->setText(QStringLiteral("."));
    QApplication::sendEvent(other, &out);
    EXPECT_EQ(other->text(), QStringLiteral("."));
}

// Opening the box's context menu or switching to another window does not leave the box: the text stays as
// typed until the focus moves on inside the window.
TEST(FloatIntEdit, OnlyLeavingTheBoxRepairs) {
    struct Case {
        Qt::FocusReason reason;
        QString after;
    } cases[] = {
        {Qt::PopupFocusReason, "-"},   {Qt::ActiveWindowFocusReason, "-"}, {Qt::TabFocusReason, "0"},
        {Qt::BacktabFocusReason, "0"}, {Qt::MouseFocusReason, "0"},        {Qt::OtherFocusReason, "0"},
    };
    for (const Case& c : cases) {
        TCardFloatIntEdit e;
        e.setText(QStringLiteral("-"));
        QFocusEvent out(QEvent::FocusOut, c.reason);
        QApplication::sendEvent(&e, &out);
        EXPECT_EQ(e.text(), c.after) << int(c.reason);
    }
}
