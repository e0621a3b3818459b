#include "tree/AddType.h"

#include "common/UException.h"
#include "common/UntPublic.h"
#include "controls/DateKeys.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>

TFormAddType::TFormAddType(QWidget* parent)
    : TFormBaseDlg(parent), edtPos(new QLineEdit(pnlClient())), edtName(new QLineEdit(pnlClient())) {
    setObjectName(QStringLiteral("FormAddType"));
    setWindowTitle(QStringLiteral("新建组"));
    auto* grid = new QGridLayout(pnlClient());
    grid->setContentsMargins(24, 20, 24, 12);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(14);
    auto* lblPos = new QLabel(QStringLiteral("所在位置"), pnlClient());
    lblPos->setObjectName(QStringLiteral("lblPos"));
    auto* lblName = new QLabel(QStringLiteral("组名"), pnlClient());
    lblName->setObjectName(QStringLiteral("lblName"));
    edtPos->setObjectName(QStringLiteral("edtPos"));
    edtPos->setReadOnly(true);
    edtPos->setFocusPolicy(Qt::ClickFocus);
    QPalette grey = edtPos->palette();
    grey.setColor(QPalette::Base, grey.color(QPalette::Window));
    edtPos->setPalette(grey);
    edtName->setObjectName(QStringLiteral("edtName"));
    TDateKeyFilter::Install(edtName);
    lblPos->setBuddy(edtPos);
    lblName->setBuddy(edtName);
    grid->addWidget(lblPos, 0, 0);
    grid->addWidget(edtPos, 0, 1);
    grid->addWidget(lblName, 1, 0);
    grid->addWidget(edtName, 1, 1);
    grid->setRowStretch(2, 1);
    resize(374, 201);
}

void TFormAddType::showEvent(QShowEvent* event) {
    Guard([&] {
        TFormBaseDlg::showEvent(event);
        edtName->setFocus();
    });
}

void TFormAddType::btnOKClick() {
    if (edtName->text().trimmed().isEmpty()) {
        ShowInfo(QStringLiteral("名称不能为空!"));
        return;
    }
    accept();
}

int ShowNewGroupDialog(const QString& position, QString& name) {
    name.clear();
    TFormAddType dialog;
    dialog.edtPos->setText(position);
    const int result = dialog.exec();
    if (result == QDialog::Accepted) name = dialog.edtName->text();
    return result;
}
