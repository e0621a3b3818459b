#include "reminders/AddAlam.h"

#include "reminders/UntAlam.h"

TFormAddAlam::TFormAddAlam(QWidget* parent) : TFormBaseAlam(parent) {
    setObjectName(QStringLiteral("TFormAddAlam"));
    setWindowTitle(QStringLiteral("新建提醒"));
}

void TFormAddAlam::btnOKClick() {
    CheckInput();
    StoreValues();
    gAlam->Insert();
    accept();
}

int ShowAddAlam() {
    TFormAddAlam form;
    return form.exec();
}
