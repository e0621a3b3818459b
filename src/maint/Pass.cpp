#include "maint/Pass.h"

#include "common/UException.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QShowEvent>

TFormPass::TFormPass(const QString& expected, QWidget* parent)
    : TFormBaseDlg(parent), m_expected(expected), m_edtPass(new QLineEdit(pnlClient())) {
    setObjectName(QStringLiteral("TFormPass"));
    setWindowTitle(QStringLiteral("请输入密码"));
    auto* label = new QLabel(QStringLiteral("输入密码"), pnlClient());
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(24, 36, 64, 22);
    m_edtPass->setObjectName(QStringLiteral("edtPass"));
    m_edtPass->setEchoMode(QLineEdit::Password);
    m_edtPass->setGeometry(92, 34, 180, 24);
    setFixedSize(300, 160);
}

void TFormPass::showEvent(QShowEvent* event) {
    TFormBaseDlg::showEvent(event);
    Guard([this] {
        // Centred on the screen: at start there is no main window to centre on yet.
        if (QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen())
            move(s->availableGeometry().center() - QRect(QPoint(), frameGeometry().size()).center());
        m_edtPass->setFocus();
    });
}

void TFormPass::btnOKClick() {
    if (m_edtPass->text() != m_expected) throw EAppError(QStringLiteral("密码输入错误!"));
    accept();
}

int ShowPasswordDialog(const QString& expected, const QString& caption) {
    TFormPass form(expected);
    if (!caption.isEmpty()) form.setWindowTitle(caption);
    return form.exec();
}
