#pragma once
// The new-reminder dialog.
#include "reminders/BaseAlam.h"

class TFormAddAlam : public TFormBaseAlam {
    Q_OBJECT
public:
    explicit TFormAddAlam(QWidget* parent = nullptr);

protected:
    void btnOKClick() override;
};

// Shows the new-reminder dialog modally; Accepted when a reminder was created.
int ShowAddAlam();
