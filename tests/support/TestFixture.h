#pragma once
// Every test case gets a fresh temporary folder as AppDir with a new data file, a connected gDbAccess,
// message boxes that are recorded and answered from a queue, file dialogs answered from a queue, and the
// clock at real time unless the test fixes it.
#include "common/Seams.h"

#include <QDateTime>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <gtest/gtest.h>
#include <vector>

struct TShownMessage {
    TMessageKind kind;
    QString caption;
    QString text;
};

class TRecordingMessages : public IMessageSink {
public:
    bool Show(TMessageKind kind, const QString& caption, const QString& text) override;
    // Answers for the next questions, in order; when none is queued a question is answered No.
    void QueueAnswer(bool yes) { answers.push_back(yes); }
    std::vector<TShownMessage> shown;
    std::deque<bool> answers;
    QStringList Texts() const;
    void Clear() { shown.clear(); }
};

class TQueuedFileDialogs : public IFileDialogs {
public:
    QString SaveFileName(const QString& caption, const QString& filter,
                         const QString& defaultSuffix) override;
    QString OpenFileName(const QString& caption, const QString& filter) override;
    // The next chosen file name ("" = cancelled). With none queued, the dialog is cancelled.
    void QueueFileName(const QString& name) { names.push_back(name); }
    std::deque<QString> names;
    QStringList captions;
    QStringList filters;
    QStringList suffixes; // the default suffix each dialog was given (none for opening)
};

class TDataFileTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    QString Dir() const { return m_dir.path() + QLatin1Char('/'); }
    QString DataFile() const { return Dir() + QStringLiteral("bookkeep.dat"); }
    // Runs a query and returns its rows as text, fields joined by "|".
    QStringList Rows(const QString& sql);

    TRecordingMessages messages;
    TQueuedFileDialogs dialogs;

private:
    QTemporaryDir m_dir;
};

// A fixture with the folder and seams but without a data file or connection.
class TEmptyFolderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    QString Dir() const { return m_dir.path() + QLatin1Char('/'); }
    TRecordingMessages messages;
    TQueuedFileDialogs dialogs;

private:
    QTemporaryDir m_dir;
};
