#include "fields/AddTitle.h"

TFormAddTitle::TFormAddTitle(QWidget* parent) : TFormBaseTitle(parent) {
    setObjectName(QStringLiteral("TFormAddTitle"));
    setWindowTitle(QStringLiteral("新建自定义商品资料"));
}

void TFormAddTitle::btnOKClick() {
    if (!CheckNameNotEmpty()) return;
    SaveNewTitle(Definition());
    accept();
}

bool ShowAddTitle() {
    TFormAddTitle dlg;
    return dlg.exec() == QDialog::Accepted;
}
