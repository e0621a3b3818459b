#include "common/UntPublic.h"

#include "common/AppDirChoice.h"
#include "common/Seams.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <cstdio>

namespace {

QString g_appDir;

class TStderrSink : public IMessageSink {
public:
    bool Show(TMessageKind kind, const QString& caption, const QString& text) override {
        std::fprintf(stderr, "%s: %s\n", caption.toUtf8().constData(), text.toUtf8().constData());
        return kind != TMessageKind::Question ? true : false;
    }
};

class TNoDialogs : public IFileDialogs {
public:
    QString SaveFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString OpenFileName(const QString&, const QString&) override { return {}; }
};

TStderrSink g_stderrSink;
TNoDialogs g_noDialogs;
IMessageSink* g_sink = nullptr;
IFileDialogs* g_dialogs = nullptr;
IWaitingIndicator* g_waiting = nullptr;
QDateTime g_fixedNow;

QString DefaultAppDir() {
    return ChooseAppDir(CurrentAppDirFacts());
}

} // namespace

void SetMessageSink(IMessageSink* sink) {
    g_sink = sink;
}
IMessageSink* MessageSink() {
    return g_sink ? g_sink : &g_stderrSink;
}
void SetFileDialogs(IFileDialogs* dialogs) {
    g_dialogs = dialogs;
}
IFileDialogs* FileDialogs() {
    return g_dialogs ? g_dialogs : &g_noDialogs;
}
void SetWaitingIndicator(IWaitingIndicator* indicator) {
    g_waiting = indicator;
}
IWaitingIndicator* WaitingIndicator() {
    return g_waiting;
}

QDateTime Now() {
    return g_fixedNow.isValid() ? g_fixedNow : QDateTime::currentDateTime();
}
void SetNow(const QDateTime& fixed) {
    g_fixedNow = fixed;
}

QString AppDir() {
    if (g_appDir.isEmpty()) g_appDir = DefaultAppDir();
    return g_appDir;
}

void SetAppDir(const QString& dir) {
    g_appDir = QDir::toNativeSeparators(dir);
    if (!g_appDir.isEmpty() && !g_appDir.endsWith(QDir::separator())) g_appDir += QDir::separator();
}

void ShowInfo(const QString& text) {
    MessageSink()->Show(TMessageKind::Info, QStringLiteral("提示"), text);
}

void ShowPlain(const QString& text) {
    MessageSink()->Show(TMessageKind::Plain, QCoreApplication::applicationName(), text);
}

bool AskYesNo(const QString& text) {
    return MessageSink()->Show(TMessageKind::Question, QStringLiteral("确认"), text);
}

void ShowError(const QString& text) {
    MessageSink()->Show(TMessageKind::Error, QStringLiteral("错误"), text);
}

void ShowErrorDetail(const QString& message, const QString& detail, const QString& sqlText) {
    const QString text = message + QStringLiteral("\r\n详细信息：") + detail;
    ShowError(text);
    if (!sqlText.isEmpty()) WriteLog(text + QStringLiteral("\r\n") + sqlText);
}

void WriteLog(const QString& text) {
    const QDateTime now = Now();
    QFile file(AppDir() + QStringLiteral("Log") + now.toString(QStringLiteral("yyyyMMdd")) +
               QStringLiteral(".log"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return; // a log that cannot be written is not worth bothering the user
    // Entries end with CR LF; the lines inside the text are kept as they are.
    const QString entry = now.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) + QStringLiteral("：") + text +
                          QStringLiteral("\r\n");
    file.write(entry.toUtf8());
}

void ShowWaiting(const QString& text) {
    if (g_waiting) g_waiting->ShowMessage(text);
}

void HideWaiting() {
    if (g_waiting) g_waiting->Hide();
}

QString PromptSaveFileName(const QString& caption, const QString& filter, const QString& defaultSuffix) {
    return FileDialogs()->SaveFileName(caption, filter, defaultSuffix);
}

QString PromptOpenFileName(const QString& caption, const QString& filter) {
    return FileDialogs()->OpenFileName(caption, filter);
}
