#include "reminders/ModAlamContext.h"

#include "reminders/UntAlamContext.h"

#include <QPlainTextEdit>

TFormModAlamContext::TFormModAlamContext(QWidget* parent) : TFormAddAlamContext(parent) {
    setObjectName(QStringLiteral("TFormModAlamContext"));
    setWindowTitle(QStringLiteral("修改提醒内容"));
}

void TFormModAlamContext::btnOKClick() {
    CheckAndHold();
    gAlamContext->Update(AlamId);
    accept();
}

int ShowModAlamContext(const QString& id, const QString& text) {
    TFormModAlamContext form;
    form.AlamId = id;
    form.mmoContext()->setPlainText(text);
    return form.exec();
}
