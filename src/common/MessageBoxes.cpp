#include "common/MessageBoxes.h"

#include "common/Seams.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

class TBoxSink : public IMessageSink {
public:
    bool Show(TMessageKind kind, const QString& caption, const QString& text) override {
        QWidget* parent = QApplication::activeWindow();
        QMessageBox box(parent);
        box.setWindowTitle(caption);
        box.setText(text);
        switch (kind) {
        case TMessageKind::Info:
            box.setIcon(QMessageBox::Information);
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case TMessageKind::Plain:
            box.setIcon(QMessageBox::NoIcon);
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case TMessageKind::Error:
            box.setIcon(QMessageBox::Critical);
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case TMessageKind::Question:
            box.setIcon(QMessageBox::Question);
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::No);
            box.button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
            box.button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
            break;
        }
        if (kind != TMessageKind::Question) box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
        return box.exec() == QMessageBox::Yes;
    }
};

class TQtFileDialogs : public IFileDialogs {
public:
    QString SaveFileName(const QString& caption, const QString& filter,
                         const QString& defaultSuffix) override {
        QFileDialog dlg(QApplication::activeWindow(), caption, QString(), filter);
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setFileMode(QFileDialog::AnyFile);
        if (!defaultSuffix.isEmpty()) dlg.setDefaultSuffix(defaultSuffix);
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
        return dlg.selectedFiles().constFirst();
    }
    QString OpenFileName(const QString& caption, const QString& filter) override {
        return QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, QString(), filter);
    }
};

} // namespace

void InstallGuiSeams() {
    static TBoxSink sink;
    static TQtFileDialogs dialogs;
    SetMessageSink(&sink);
    SetFileDialogs(&dialogs);
}
