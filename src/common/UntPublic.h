#pragma once
// Message boxes, the daily log, the program folder and the waiting window's calls.
#include <QString>

// The executable's folder with a trailing separator.
QString AppDir();
void SetAppDir(const QString& dir); // tests point it at a temporary folder

void ShowInfo(const QString& text);
// A plain box: the application's title as caption, no icon, one OK button.
void ShowPlain(const QString& text);
bool AskYesNo(const QString& text);
void ShowError(const QString& text);
void ShowErrorDetail(const QString& message, const QString& detail, const QString& sqlText);
void WriteLog(const QString& text);

void ShowWaiting(const QString& text);
void HideWaiting();

// Shows the waiting window for its lifetime; hides it also when the bracketed work throws.
class TWaitingScope {
public:
    explicit TWaitingScope(const QString& text) { ShowWaiting(text); }
    ~TWaitingScope() { HideWaiting(); }
    TWaitingScope(const TWaitingScope&) = delete;
    TWaitingScope& operator=(const TWaitingScope&) = delete;
};

// The file name chosen in a save or open dialog; empty when cancelled.
QString PromptSaveFileName(const QString& caption, const QString& filter, const QString& defaultSuffix = {});
QString PromptOpenFileName(const QString& caption, const QString& filter);
