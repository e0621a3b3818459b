#pragma once
// The field editor: name, kind, default value or option list, required and unique. TFormAddTitle and
// TFormModTitle give it its two modes.
#include "common/BaseDlg.h"
#include "fields/UntTitle.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

class TFormBaseTitle : public TFormBaseDlg {
    Q_OBJECT
public:
    explicit TFormBaseTitle(QWidget* parent = nullptr);

    QLineEdit* edtName;
    QComboBox* cbbType;
    QLabel* lblmrz;
    QLineEdit* edtmrz;
    QPlainTextEdit* mmomrz;
    QComboBox* cbbsj;
    QDateEdit* DBDate;
    QCheckBox* chkwy;
    QCheckBox* chkbt;
    QGroupBox* grpType;
    QPlainTextEdit* mmo1;

    // The definition as the controls hold it; the name as typed.
    TTitleDef Definition() const;
    // The TitleValues text that a save writes for the chosen kind.
    QString TitleValues() const;
    // Puts a stored definition into the controls (change mode).
    void LoadDefinition(const TTitleDef& def);

protected:
    void showEvent(QShowEvent* event) override;
    // Stops an empty name with a message and the focus in the name box; true when the name may go on.
    bool CheckNameNotEmpty();

private:
    void cbbTypeChange();
    void cbbsjChange();
    void ShowDescription();
};
