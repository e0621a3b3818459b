#include "stock/StorOk.h"

TFormStorOk::TFormStorOk(QWidget* parent) : TFormBaseStor(TStorKind::Ok, parent) {
    setObjectName(QStringLiteral("TFormStorOk"));
}

void ShowStorOk() {
    TFormStorOk form;
    form.exec();
}
