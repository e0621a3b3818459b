#include "reminders/AddAlamContext.h"

#include "common/UException.h"
#include "reminders/UntAlamContext.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>

TFormAddAlamContext::TFormAddAlamContext(QWidget* parent) : TFormBaseDlg(parent) {
    setObjectName(QStringLiteral("TFormAddAlamContext"));
    setWindowTitle(QStringLiteral("新建提醒内容"));
    auto* layout = new QHBoxLayout(pnlClient());
    layout->setContentsMargins(12, 10, 12, 10);
    auto* label = new QLabel(QStringLiteral("提醒内容"), pnlClient());
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(label);
    m_mmoContext = new QPlainTextEdit(pnlClient());
    m_mmoContext->setObjectName(QStringLiteral("mmoContext"));
    m_mmoContext->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_mmoContext->setTabChangesFocus(true);
    QFont font = m_mmoContext->font();
    font.setPixelSize(13);
    m_mmoContext->setFont(font);
    layout->addWidget(m_mmoContext, 1);
    resize(420, 240);
}

void TFormAddAlamContext::CheckAndHold() {
    if (m_mmoContext->toPlainText().trimmed().isEmpty())
        throw EAppError(QStringLiteral("提醒内容不能为空！"));
    gAlamContext->ReMark = m_mmoContext->toPlainText();
}

void TFormAddAlamContext::btnOKClick() {
    CheckAndHold();
    gAlamContext->Insert();
    accept();
}

int ShowAddAlamContext() {
    TFormAddAlamContext form;
    return form.exec();
}
