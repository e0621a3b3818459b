#include "stock/StorOut.h"

TFormStorOut::TFormStorOut(QWidget* parent) : TFormBaseStor(TStorKind::Out, parent) {
    setObjectName(QStringLiteral("TFormStorOut"));
}

void ShowStorOut() {
    TFormStorOut form;
    form.exec();
}
