#include "tree/DateKeys.h"

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
    auto* key = static_cast<QKeyEvent*>(event);
    const QString text = DateKeyText(key);
    if (text.isEmpty()) return false;
    if (event->type() == QEvent::ShortcutOverride) {
        // The box takes these keys before any shortcut of the window does.
        event->accept();
        return true;
    }
    Guard([&] {
        if (auto* line = qobject_cast<QLineEdit*>(watched))
            line->insert(text);
        else if (auto* plain = qobject_cast<QPlainTextEdit*>(watched))
            plain->insertPlainText(text);
        else if (auto* rich = qobject_cast<QTextEdit*>(watched))
            rich->insertPlainText(text);
    });
    return true;
}
