#pragma once
// Ctrl+D and Ctrl+T in a text box insert today's date or the current date and time at the caret.
#include <QObject>
#include <QString>

class QDateTime;
class QKeyEvent;

// Today's date in the user's short date form.
QString ShortDateText(const QDateTime& moment);
// The short date form followed by the long time form (without the time zone).
QString DateTimeText(const QDateTime& moment);
// The text Ctrl+D or Ctrl+T inserts (other modifiers may be held too); empty for any other key.
QString DateKeyText(const QKeyEvent* event);

// Installed on a QLineEdit, QPlainTextEdit or QTextEdit: the two keys replace the selection with the text
// (not while the box is read-only).
class TDateKeyFilter : public QObject {
public:
    explicit TDateKeyFilter(QObject* parent) : QObject(parent) {}
    // Installs a filter owned by the box.
    static void Install(QObject* box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
