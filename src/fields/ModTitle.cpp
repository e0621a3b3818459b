#include "fields/ModTitle.h"

#include <QLineEdit>

TFormModTitle::TFormModTitle(QWidget* parent) : TFormBaseTitle(parent) {
    setObjectName(QStringLiteral("TFormModTitle"));
    setWindowTitle(QStringLiteral("修改自定义商品资料"));
}

bool TFormModTitle::Load(const QString& name) {
    TTitleDef def;
    if (!LoadTitle(name, def)) return false;
    LoadDefinition(def);
    m_oldName = def.Name; // what the box shows, unless the box had to cut a longer stored name
    return true;
}

void TFormModTitle::btnOKClick() {
    if (!CheckNameNotEmpty()) return;
    SaveModTitle(Definition(), m_oldName);
    accept();
}

bool ShowModTitle(const QString& name) {
    TFormModTitle dlg;
    if (!dlg.Load(name)) return false;
    return dlg.exec() == QDialog::Accepted;
}
