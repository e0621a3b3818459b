#pragma once
// A date box in which Tab moves on to the next field, as in every other box of a form; the arrow keys still
// step between year, month and day.
#include <QDateEdit>

class TDateBox : public QDateEdit {
public:
    using QDateEdit::QDateEdit;

protected:
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};
