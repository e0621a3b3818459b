#pragma once
// The password dialog: asks until the expected password is typed or the user cancels.
#include "common/BaseDlg.h"

class QLabel;
class QLineEdit;

class TFormPass : public TFormBaseDlg {
    Q_OBJECT
public:
    explicit TFormPass(const QString& expected, QWidget* parent = nullptr);
    QLineEdit* edtPass() const { return m_edtPass; }

protected:
    void btnOKClick() override;
    void showEvent(QShowEvent* event) override;

private:
    QString m_expected;
    QLineEdit* m_edtPass;
};

// The dialog's modal result: QDialog::Accepted once the expected password was confirmed, else Rejected.
// An empty caption keeps "请输入密码".
int ShowPasswordDialog(const QString& expected, const QString& caption);
