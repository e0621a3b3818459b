#include "controls/CardFloatIntEdit.h"

#include "common/UException.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QRegularExpression>

TCardFloatIntEdit::TCardFloatIntEdit(QWidget* parent) : QLineEdit(parent) {
    setText(QStringLiteral("0"));
}

bool TCardFloatIntEdit::KeyAccepted(TTextType type, bool zf, const QString& text, int caret, QChar key) {
    if (type == TTextType::NormalText) return true;
    const bool digit = key >= QLatin1Char('0') && key <= QLatin1Char('9');
    const bool allowed = digit || key.unicode() == 8 || key.unicode() == 13 || key == QLatin1Char('-') ||
                         key == QLatin1Char('.');
    if (!allowed) return false;
    if (type == TTextType::IntegerText && key == QLatin1Char('.')) return false;
    if (key == QLatin1Char('-')) {
        if (!zf) return false;
        const int firstMinus = text.indexOf(QLatin1Char('-'));
        if (firstMinus > 0 || caret != 0) return false;
    }
    if (type == TTextType::FloatText && key == QLatin1Char('.') && text.contains(QLatin1Char('.')))
        return false;
    return true;
}

QString TCardFloatIntEdit::RepairedText(TTextType type, const QString& text) {
    switch (type) {
    case TTextType::IntegerText: {
        static const QRegularExpression whole(QStringLiteral("^-?[0-9]+$"));
        if (!whole.match(text).hasMatch()) return QStringLiteral("0");
        bool ok = false;
        const qlonglong v = text.toLongLong(&ok);
        if (!ok || v < -2147483648LL || v > 2147483647LL) return QStringLiteral("0");
        return text;
    }
    case TTextType::FloatText: {
        QString t = text;
        const int dot = t.indexOf(QLatin1Char('.'));
        if (dot == 0) t.prepend(QLatin1Char('0'));
        // An empty text also lands here: "no point" and "point at the end" are both position 0 then.
        const int dot2 = t.indexOf(QLatin1Char('.'));
        if (t.isEmpty() || (dot2 >= 0 && dot2 == t.size() - 1)) t.append(QLatin1Char('0'));
        static const QRegularExpression decimal(QStringLiteral("^-?([0-9]+\\.?[0-9]*|\\.[0-9]+)$"));
        if (!decimal.match(t).hasMatch()) return QStringLiteral("0");
        return t;
    }
    case TTextType::NormalText:
        break;
    }
    return text;
}

int TCardFloatIntEdit::Caret() const {
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

void TCardFloatIntEdit::keyPressEvent(QKeyEvent* event) {
    bool drop = false;
    Guard([&] {
        if (m_textType == TTextType::NormalText) return;
        QChar ch;
        const int key = event->key();
        const bool ctrl = event->modifiers() & Qt::ControlModifier;
        if (key == Qt::Key_Backspace)
            ch = QChar(8);
        else if (key == Qt::Key_Return || key == Qt::Key_Enter)
            ch = QChar(13);
        else if (ctrl && key >= Qt::Key_A && key <= Qt::Key_Z)
            ch = QChar(key - Qt::Key_A + 1); // the control characters of the clipboard shortcuts and the like
        else if (!event->text().isEmpty() && !event->text().front().isNull() &&
                 event->text().front() >= QChar(32) && event->text().front() != QChar(127))
            ch = event->text().front();
        else
            return; // keys that type no character (arrows, Delete, Tab, Esc) are the edit's own business
        drop = !KeyAccepted(m_textType, m_zf, text(), Caret(), ch);
    });
    if (drop) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TCardFloatIntEdit::inputMethodEvent(QInputMethodEvent* event) {
    Guard([&] {
        // Text composed by an input method is a sequence of typed characters; keep those the filter takes.
        if (m_textType != TTextType::NormalText && !event->commitString().isEmpty()) {
            QString kept;
            QString current = text();
            int caret = Caret();
            for (const QChar c : event->commitString()) {
                if (!KeyAccepted(m_textType, m_zf, current, caret, c)) continue;
                kept += c;
                current.insert(caret, c);
                ++caret;
            }
            if (kept != event->commitString()) {
                QInputMethodEvent filtered(event->preeditString(), event->attributes());
                filtered.setCommitString(kept, event->replacementStart(), event->replacementLength());
                QLineEdit::inputMethodEvent(&filtered);
                return;
            }
        }
        QLineEdit::inputMethodEvent(event);
    });
}

void TCardFloatIntEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // The box's context menu and a switch to another window leave the focus with the box: repairing then
    // would turn "" into "0" under a paste or "-" into "0" under the next digit.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason) return;
    Guard([&] {
        const QString repaired = RepairedText(m_textType, text());
        if (repaired != text()) setText(repaired);
    });
}
