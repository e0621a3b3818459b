#pragma once
// The new-preset dialog; the change dialog derives from it.
#include "common/BaseDlg.h"

class QPlainTextEdit;

class TFormAddAlamContext : public TFormBaseDlg {
    Q_OBJECT
public:
    explicit TFormAddAlamContext(QWidget* parent = nullptr);

    QPlainTextEdit* mmoContext() const { return m_mmoContext; }

protected:
    void btnOKClick() override;
    // Fails with "提醒内容不能为空！" for a blank text; otherwise gAlamContext holds the text as typed.
    void CheckAndHold();

private:
    QPlainTextEdit* m_mmoContext;
};

// Shows the new-preset dialog modally; Accepted when a preset was added.
int ShowAddAlamContext();
