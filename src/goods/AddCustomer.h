#pragma once
// The new-goods dialog.
#include "goods/BaseCustomer.h"

class TFormAddCustomer : public TFormBaseCustomer {
    Q_OBJECT
public:
    // Makes the record's GUID once; every save attempt of this dialog uses it.
    explicit TFormAddCustomer(QWidget* parent = nullptr);
    QString GoodsGuid;
    // The statement the last save ran or tried.
    QString LastSql;

    void btnOKClick() override;
};

// Opens the new-goods dialog with a group preset; QDialog::Accepted when a record was stored.
int ShowAddGoods(int groupIndex, const QString& groupText);
