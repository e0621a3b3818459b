#include "fields/BaseDIY.h"

#include "common/BaseDlg.h"
#include "common/UException.h"
#include "common/WindowMessages.h"
#include "fields/DIYPanel.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

TFormBaseDIY::TFormBaseDIY(QWidget* parent)
    : QDialog(parent ? parent : qobject_cast<QWidget*>(MainWindowTarget()),
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                  Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("TFormBaseDIY"));
    setWindowTitle(QStringLiteral("预览商品资料"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    pnlClient = new QWidget(this);
    pnlClient->setObjectName(QStringLiteral("pnlClient"));
    layout->addWidget(pnlClient, 1);
    auto* bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    layout->addWidget(bevel);
    pnlBottom = new QFrame(this);
    pnlBottom->setObjectName(QStringLiteral("pnlBottom"));
    pnlBottom->setFixedHeight(34);
    auto* bottom = new QHBoxLayout(pnlBottom);
    bottom->setContentsMargins(8, 4, 8, 4);
    bottom->addStretch(1);
    btnOK = new QPushButton(QStringLiteral("确定(&O)"), pnlBottom);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->hide();
    btnCancel = new QPushButton(QStringLiteral("关闭(&C)"), pnlBottom);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setMinimumSize(75, 25);
    btnCancel->setDefault(true);
    bottom->addWidget(btnOK);
    bottom->addWidget(btnCancel);
    layout->addWidget(pnlBottom);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(640, 280);
}

void TFormBaseDIY::showEvent(QShowEvent* event) {
    Guard([&] {
        QDialog::showEvent(event);
        if (m_built || event->spontaneous()) return;
        m_built = true;
        CenterOnMainWindow(this);
        TDIYPanel::Build(pnlClient);
    });
}

void ShowBaseDIY() {
    TFormBaseDIY dlg;
    dlg.exec();
}
