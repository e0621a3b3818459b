#pragma once
// The modify-goods dialog.
#include "goods/BaseCustomer.h"

class TFormModCustomer : public TFormBaseCustomer {
    Q_OBJECT
public:
    explicit TFormModCustomer(QWidget* parent = nullptr);
    QString GoodsGuid;
    QString LastSql;

    // Fills the boxes and the user fields from the stored record; runs when the dialog is first shown.
    void FormShow();
    void btnOKClick() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_shown = false;
};

// Opens the modify-goods dialog on one record; QDialog::Accepted when the change was stored.
int ShowModifyGoods(const QString& guid);
