#include "stock/StorIn.h"

TFormStorIn::TFormStorIn(QWidget* parent) : TFormBaseStor(TStorKind::In, parent) {
    setObjectName(QStringLiteral("TFormStorIn"));
}

void ShowStorIn() {
    TFormStorIn form;
    form.exec();
}
