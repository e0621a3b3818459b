#include "goods/BaseCustomer.h"

#include "common/UException.h"
#include "controls/CardEdtBut.h"
#include "fields/DIYPanel.h"
#include "tree/ViewCustomerType.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

TFormBaseCustomer::TFormBaseCustomer(QWidget* parent) : TFormBaseDlg(parent) {
    setObjectName(QStringLiteral("TFormBaseCustomer"));
    resize(640, 480);
    auto* layout = new QVBoxLayout(pnlClient());
    layout->setContentsMargins(4, 4, 4, 4);
    pgc1 = new QTabWidget(pnlClient());
    pgc1->setObjectName(QStringLiteral("pgc1"));
    layout->addWidget(pgc1);
    tsBase = new QWidget;
    tsBase->setObjectName(QStringLiteral("tsBase"));
    pgc1->addTab(tsBase, QStringLiteral("基本资料"));

    // One row with 分组, 商品编号 and 商品名称, each label right-aligned before its 121-pixel box.
    AddLabel("lblGroup", QStringLiteral("分组"), 2, 12, 56);
    EdtGoup = new TCardEdtBut(tsBase);
    EdtGoup->setObjectName(QStringLiteral("EdtGoup"));
    EdtGoup->setGeometry(62, 10, 121, 21);
    EdtGoup->setReadOnly(true);
    EdtGoup->SetButtonBmp(CardFind);
    EdtGoup->SetButVisible(true);
    EdtGoup->setCursor(Qt::ForbiddenCursor);
    QPalette grey = EdtGoup->palette();
    grey.setColor(QPalette::Base, grey.color(QPalette::Window));
    EdtGoup->setPalette(grey);
    connect(EdtGoup, &TCardEdtBut::OnButClick, this, Guarded([this] { EdtGoupButClick(); }));

    AddLabel("lblCode", QStringLiteral("商品编号"), 190, 12, 72);
    edtName = new QLineEdit(tsBase);
    edtName->setObjectName(QStringLiteral("edtName"));
    edtName->setGeometry(266, 10, 121, 21);

    AddLabel("lblName", QStringLiteral("商品名称"), 394, 12, 72);
    edtTel = new QLineEdit(tsBase);
    edtTel->setObjectName(QStringLiteral("edtTel"));
    edtTel->setGeometry(470, 10, 121, 21);

    pnlDIY = new QWidget(tsBase);
    pnlDIY->setObjectName(QStringLiteral("pnlDIY"));
    pnlDIY->setGeometry(2, 40, 624, 208);

    AddLabel("lblRemark", QStringLiteral("备注"), 2, 258, 56);
    mmoRemark = new QPlainTextEdit(tsBase);
    mmoRemark->setObjectName(QStringLiteral("mmoRemark"));
    mmoRemark->setGeometry(62, 256, 520, 97);
    mmoRemark->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmoRemark->setTabChangesFocus(true);

    // The user fields current at this moment.
    TDIYPanel::Build(pnlDIY);

    // Keyboard order: 商品名称, 分组, 商品编号, the user fields, 备注.
    QList<QWidget*> order{edtTel, EdtGoup, edtName};
    for (QWidget* child : pnlDIY->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (child->focusPolicy() != Qt::NoFocus) order << child;
    order << mmoRemark;
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QLabel* TFormBaseCustomer::AddLabel(const char* name, const QString& caption, int left, int top, int width) {
    auto* label = new QLabel(caption, tsBase);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(left, top, width, 17);
    return label;
}

void TFormBaseCustomer::SetGroup(int index, const QString& text) {
    GroupIndex = index;
    EdtGoup->setText(text);
}

QString TFormBaseCustomer::Remark() const {
    return mmoRemark->toPlainText();
}

void TFormBaseCustomer::EdtGoupButClick() {
    int index = 0;
    QString text;
    if (PickGroup(index, text) == QDialog::Accepted) SetGroup(index, text);
}

void TFormBaseCustomer::showEvent(QShowEvent* event) {
    Guard([&] {
        TFormBaseDlg::showEvent(event);
        if (!m_focused) {
            m_focused = true;
            edtTel->setFocus();
        }
    });
}
