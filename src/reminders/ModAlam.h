#pragma once
// The change-reminder dialog: loads the reminder when it is shown and writes it back unseen.
#include "reminders/BaseAlam.h"

class TFormModAlam : public TFormBaseAlam {
    Q_OBJECT
public:
    explicit TFormModAlam(QWidget* parent = nullptr);

    QString AlamId;

    // The first show: focus to the hour box, load the reminder, then the time, the kind (whose click
    // behaviour resets the day box), the day, the date and the text, in that order.
    void FormShow();

protected:
    void btnOKClick() override;
    void showEvent(QShowEvent* e) override;

private:
    bool m_loaded = false;
};

// Shows the change dialog for one reminder modally; Accepted when it was changed.
int ShowModAlam(const QString& id);
