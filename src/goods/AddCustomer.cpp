#include "goods/AddCustomer.h"

#include "data/MD.h"
#include "fields/DIYPanel.h"
#include "goods/UntCustomer.h"
#include "goods/UntGUID.h"

#include <QLineEdit>

TFormAddCustomer::TFormAddCustomer(QWidget* parent) : TFormBaseCustomer(parent) {
    setObjectName(QStringLiteral("TFormAddCustomer"));
    setWindowTitle(QStringLiteral("新建商品信息"));
    GoodsGuid = NewGuidText();
}

void TFormAddCustomer::btnOKClick() {
    TDIYPanel::CheckRequired(pnlDIY);
    TDIYPanel::CheckUnique(pnlDIY, QStringLiteral("0"), false);
    QString columns, values;
    TDIYPanel::InsertLists(pnlDIY, columns, values);
    LastSql =
        GoodsInsertSql(GoodsGuid, GroupIndex, edtName->text(), edtTel->text(), Remark(), columns, values);
    ExecSql(LastSql);
    accept();
}

int ShowAddGoods(int groupIndex, const QString& groupText) {
    TFormAddCustomer dialog;
    dialog.SetGroup(groupIndex, groupText);
    return dialog.exec();
}
