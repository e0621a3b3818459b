#include "goods/ModCustomer.h"

#include "common/UException.h"
#include "controls/CardEdtBut.h"
#include "data/MD.h"
#include "fields/DIYPanel.h"
#include "goods/UntCustomer.h"

#include <QLineEdit>
#include <QPlainTextEdit>

TFormModCustomer::TFormModCustomer(QWidget* parent) : TFormBaseCustomer(parent) {
    setObjectName(QStringLiteral("TFormModCustomer"));
    setWindowTitle(QStringLiteral("修改商品信息"));
    pnlDIY->resize(624, 210);
}

void TFormModCustomer::FormShow() {
    gCustomer->LoadGoods(GoodsGuid);
    GroupIndex = gCustomer->TypeID;
    EdtGoup->setText(gCustomer->GroupText);
    edtName->setText(gCustomer->GoodsCode);
    edtTel->setText(gCustomer->GoodsName);
    mmoRemark->setPlainText(gCustomer->GoodsRemark);
    gDbAccess->OpenQuery(QStringLiteral("select * from Customer where [GUID]='%1' ").arg(GoodsGuid));
    TDIYPanel::Fill(pnlDIY, *gDbAccess->QueryData);
}

void TFormModCustomer::showEvent(QShowEvent* event) {
    TFormBaseCustomer::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        Guard([this] { FormShow(); }, this);
    }
}

void TFormModCustomer::btnOKClick() {
    TDIYPanel::CheckRequired(pnlDIY);
    TDIYPanel::CheckUnique(pnlDIY, GoodsGuid, true);
    LastSql = GoodsUpdateSql(GoodsGuid, GroupIndex, edtName->text(), edtTel->text(), Remark(),
                             TDIYPanel::UpdateList(pnlDIY));
    ExecSql(LastSql);
    accept();
}

int ShowModifyGoods(const QString& guid) {
    TFormModCustomer dialog;
    dialog.GoodsGuid = guid;
    return dialog.exec();
}
