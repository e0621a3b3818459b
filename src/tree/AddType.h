#pragma once
// The new-group dialog: shows where the group goes and asks for its name.
#include "common/BaseDlg.h"

class QLineEdit;

class TFormAddType : public TFormBaseDlg {
    Q_OBJECT
public:
    explicit TFormAddType(QWidget* parent = nullptr);

    QLineEdit* edtPos;
    QLineEdit* edtName;

protected:
    void btnOKClick() override;
    void showEvent(QShowEvent* event) override;
};

// Asks for the name of a new group under the place described by position; name is the text as typed on OK
// and empty otherwise. Returns QDialog::Accepted or QDialog::Rejected.
int ShowNewGroupDialog(const QString& position, QString& name);
