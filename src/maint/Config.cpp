#include "maint/Config.h"

#include "common/UException.h"
#include "maint/Pass.h"
#include "maint/UntConfig.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>

namespace {

QLineEdit* PasswordEdit(QWidget* parent, const char* name, int top) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setEchoMode(QLineEdit::Password);
    edit->setGeometry(96, top, 160, 24);
    return edit;
}

void Caption(QWidget* parent, const char* name, const QString& text, int top) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(30, top + 2, 64, 22);
}

} // namespace

TFormConfig::TFormConfig(QWidget* parent)
    : TFormBaseDlg(parent), m_chkPass(new QCheckBox(QStringLiteral("登录需输入密码"), pnlClient())),
      m_edtPass(PasswordEdit(pnlClient(), "edtPass", 62)),
      m_edtRePass(PasswordEdit(pnlClient(), "edtRePass", 100)) {
    setObjectName(QStringLiteral("TFormConfig"));
    setWindowTitle(QStringLiteral("软件设置"));
    m_chkPass->setObjectName(QStringLiteral("chkPass"));
    m_chkPass->setGeometry(30, 24, 200, 24);
    Caption(pnlClient(), "Label1", QStringLiteral("密码"), 62);
    Caption(pnlClient(), "Label2", QStringLiteral("再输入次"), 100);
    setFixedSize(290, 231);
    connect(m_chkPass, &QCheckBox::clicked, this, Guarded([this] { chkPassClick(); }));
}

void TFormConfig::showEvent(QShowEvent* event) {
    TFormBaseDlg::showEvent(event);
    if (m_shown || event->spontaneous()) return;
    m_shown = true;
    Guard([this] { FormShow(); });
}

void TFormConfig::FormShow() {
    m_chkPass->setChecked(gConfig->bPass);
    // The edits follow the box from the start: open for typing exactly when a password is asked for.
    chkPassClick();
}

void TFormConfig::chkPassClick() {
    const bool on = m_chkPass->isChecked();
    m_edtPass->setEnabled(on);
    m_edtRePass->setEnabled(on);
    const QString text = on ? gConfig->PassWord : QString();
    m_edtPass->setText(text);
    m_edtRePass->setText(text);
}

void TFormConfig::btnOKClick() {
    const bool on = m_chkPass->isChecked();
    if (on) {
        if (m_edtPass->text().trimmed().isEmpty()) {
            m_edtPass->setFocus();
            throw EAppError(QStringLiteral("密码不能为空!"));
        }
        if (m_edtPass->text() != m_edtRePass->text()) {
            m_edtPass->setFocus();
            throw EAppError(QStringLiteral("两次输入的密码不一样,请重新输入!"));
        }
        if (!gConfig->PassWord.isEmpty() && gConfig->PassWord != m_edtPass->text() &&
            ShowPasswordDialog(gConfig->PassWord, QStringLiteral("请先输入旧密码")) != QDialog::Accepted)
            return;
    } else if (!gConfig->PassWord.isEmpty() &&
               ShowPasswordDialog(gConfig->PassWord, QStringLiteral("请先输入密码才可以取消登录密码")) !=
                   QDialog::Accepted) {
        return;
    }
    // Saved from a copy: a save that fails leaves the settings in memory as the file still holds them.
    TConfig changed = *gConfig;
    changed.bPass = on;
    changed.PassWord = m_edtPass->text();
    try {
        changed.Save();
    } catch (...) {
        gConfig->LastSql = changed.LastSql;
        throw;
    }
    *gConfig = changed;
    accept();
}

int ShowConfigDialog() {
    TFormConfig form;
    return form.exec();
}
