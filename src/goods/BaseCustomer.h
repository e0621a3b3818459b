#pragma once
// The base goods dialog: the fixed goods fields, the group choice and the panel of user fields.
#include "common/BaseDlg.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class TCardEdtBut;

class TFormBaseCustomer : public TFormBaseDlg {
    Q_OBJECT
public:
    explicit TFormBaseCustomer(QWidget* parent = nullptr);

    // SelfIndex of the chosen goods group; 0 = no group.
    int GroupIndex = 0;

    QTabWidget* pgc1;
    QWidget* tsBase; // "基本资料"
    TCardEdtBut* EdtGoup;
    QLineEdit* edtName; // 商品编号
    QLineEdit* edtTel;  // 商品名称
    QWidget* pnlDIY;    // the user fields
    QPlainTextEdit* mmoRemark;

    void SetGroup(int index, const QString& text);
    QString Remark() const;

protected:
    // The group edit's button: pick a group; Cancel changes nothing.
    virtual void EdtGoupButClick();
    void showEvent(QShowEvent* event) override;

private:
    QLabel* AddLabel(const char* name, const QString& caption, int left, int top, int width);
    bool m_focused = false;
};
