#include "reminders/ModAlam.h"

#include "common/UException.h"
#include "reminders/UntAlam.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShowEvent>

TFormModAlam::TFormModAlam(QWidget* parent) : TFormBaseAlam(parent) {
    setObjectName(QStringLiteral("TFormModAlam"));
    setWindowTitle(QStringLiteral("修改提醒"));
}

void TFormModAlam::showEvent(QShowEvent* e) {
    TFormBaseAlam::showEvent(e);
    if (m_loaded || e->spontaneous()) return;
    m_loaded = true;
    try {
        FormShow();
    } catch (...) {
        // A reminder that cannot be read cannot be changed: say why and close.
        HandleCurrentException(this);
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
    }
}

void TFormModAlam::FormShow() {
    edtHour()->setFocus();
    gAlam->Load(AlamId);
    edtHour()->setText(QString::number(gAlam->iHour));
    edtMinute()->setText(QString::number(gAlam->iMinute));
    ChooseKind(gAlam->ReDay);
    edtMonWeek()->setText(QString::number(gAlam->iMonWeek));
    DBDay()->setDate(gAlam->AlamDate.date());
    mmoNote()->setPlainText(gAlam->ReMark);
}

void TFormModAlam::btnOKClick() {
    CheckInput();
    StoreValues();
    gAlam->Update(AlamId);
    accept();
}

int ShowModAlam(const QString& id) {
    TFormModAlam form;
    form.AlamId = id;
    return form.exec();
}
