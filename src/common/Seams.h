#pragma once
// The places where the program meets a person or the wall clock. The program installs the real ones;
// tests install their own so that nothing waits for a human.
#include <QDateTime>
#include <QString>

// Plain: a box captioned with the application's title, without an icon.
enum class TMessageKind { Info, Question, Error, Plain };

class IMessageSink {
public:
    virtual ~IMessageSink() = default;
    // Shows a modal box; for a question returns true when Yes was chosen (No is the default button).
    virtual bool Show(TMessageKind kind, const QString& caption, const QString& text) = 0;
};

class IFileDialogs {
public:
    virtual ~IFileDialogs() = default;
    // Both return the empty text when the user cancels. filter uses Qt's form, e.g. "Excel文件 (*.xlsx)".
    virtual QString SaveFileName(const QString& caption, const QString& filter,
                                 const QString& defaultSuffix) = 0;
    virtual QString OpenFileName(const QString& caption, const QString& filter) = 0;
};

class IWaitingIndicator {
public:
    virtual ~IWaitingIndicator() = default;
    virtual void ShowMessage(const QString& text) = 0; // empty text keeps the last message
    virtual void Hide() = 0;
};

// Installing nullptr restores the default (messages to standard error, dialogs cancelled, no indicator).
void SetMessageSink(IMessageSink* sink);
IMessageSink* MessageSink();
void SetFileDialogs(IFileDialogs* dialogs);
IFileDialogs* FileDialogs();
void SetWaitingIndicator(IWaitingIndicator* indicator);
IWaitingIndicator* WaitingIndicator();

// The one clock of the program and its engine. A test may fix it; an invalid value returns to real time.
QDateTime Now();
void SetNow(const QDateTime& fixed);
