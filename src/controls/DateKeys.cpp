#include "controls/DateKeys.h"

#include "common/Seams.h"
#include "common/UException.h"

#include <QDateTime>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {
// The locale's long time form without its time zone part, which a note has no use for.
QString LongTimeFormat() {
    const QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\'')) quoted = !quoted;
        if (quoted || c != QLatin1Char('t')) out += c;
    }
    return out.simplified();
}

// A read-only box takes no typing, so the two keys must not write into it either.
bool IsReadOnly(const QObject* box) {
    if (auto* line = qobject_cast<const QLineEdit*>(box)) return line->isReadOnly();
    if (auto* plain = qobject_cast<const QPlainTextEdit*>(box)) return plain->isReadOnly();
    if (auto* rich = qobject_cast<const QTextEdit*>(box)) return rich->isReadOnly();
    return false;
}
} // namespace

QString ShortDateText(const QDateTime& moment) {
    return QLocale::system().toString(moment.date(), QLocale::ShortFormat);
}

QString DateTimeText(const QDateTime& moment) {
    return ShortDateText(moment) + QLatin1Char(' ') +
           QLocale::system().toString(moment.time(), LongTimeFormat());
}

QString DateKeyText(const QKeyEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) return {};
    if (event->key() == Qt::Key_D) return ShortDateText(Now());
    if (event->key() == Qt::Key_T) return DateTimeText(Now());
    return {};
}

void TDateKeyFilter::Install(QObject* box) {
    box->installEventFilter(new TDateKeyFilter(box));
}

bool TDateKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) return false;
    if (IsReadOnly(watched)) return false;
    bool taken = false;
    Guard([&] {
        const QString text = DateKeyText(static_cast<QKeyEvent*>(event));
        if (text.isEmpty()) return;
        taken = true;
        if (event->type() == QEvent::ShortcutOverride) {
            // The box takes these keys before any shortcut of the window does.
            event->accept();
            return;
        }
        if (auto* line = qobject_cast<QLineEdit*>(watched))
            line->insert(text);
        else if (auto* plain = qobject_cast<QPlainTextEdit*>(watched))
            plain->insertPlainText(text);
        else if (auto* rich = qobject_cast<QTextEdit*>(watched))
            rich->insertPlainText(text);
    });
    return taken;
}
