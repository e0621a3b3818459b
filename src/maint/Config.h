#pragma once
// The settings dialog: whether a login password is asked for, and which.
#include "common/BaseDlg.h"

class QCheckBox;
class QLineEdit;

class TFormConfig : public TFormBaseDlg {
    Q_OBJECT
public:
    explicit TFormConfig(QWidget* parent = nullptr);
    QCheckBox* chkPass() const { return m_chkPass; }
    QLineEdit* edtPass() const { return m_edtPass; }
    QLineEdit* edtRePass() const { return m_edtRePass; }

    void FormShow();
    void chkPassClick();

protected:
    void btnOKClick() override;
    void showEvent(QShowEvent* event) override;

private:
    QCheckBox* m_chkPass;
    QLineEdit* m_edtPass;
    QLineEdit* m_edtRePass;
    bool m_shown = false;
};

// Shows the settings dialog modally; it saves the settings itself before it closes with OK.
int ShowConfigDialog();
