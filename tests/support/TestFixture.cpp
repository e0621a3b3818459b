#include "support/TestFixture.h"

#include "common/UntPublic.h"
#include "data/MD.h"
#include "data/Schema.h"

bool TRecordingMessages::Show(TMessageKind kind, const QString& caption, const QString& text) {
    shown.push_back({kind, caption, text});
    if (kind != TMessageKind::Question) return true;
    if (answers.empty()) return false;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
}

QStringList TRecordingMessages::Texts() const {
    QStringList out;
    for (const auto& m : shown)
        out << m.text;
    return out;
}

QString TQueuedFileDialogs::SaveFileName(const QString& caption, const QString& filter,
                                         const QString& defaultSuffix) {
    suffixes << defaultSuffix;
    captions << caption;
    filters << filter;
    if (names.empty()) return {};
    const QString n = names.front();
    names.pop_front();
    return n;
}

QString TQueuedFileDialogs::OpenFileName(const QString& caption, const QString& filter) {
    return SaveFileName(caption, filter, QString());
}

void TEmptyFolderTest::SetUp() {
    ASSERT_TRUE(m_dir.isValid());
    SetAppDir(m_dir.path());
    SetMessageSink(&messages);
    SetFileDialogs(&dialogs);
    SetNow(QDateTime());
}

void TEmptyFolderTest::TearDown() {
    if (gDbAccess) {
        delete gDbAccess;
        gDbAccess = nullptr;
    }
    SetMessageSink(nullptr);
    SetFileDialogs(nullptr);
    SetNow(QDateTime());
}

void TDataFileTest::SetUp() {
    ASSERT_TRUE(m_dir.isValid());
    SetAppDir(m_dir.path());
    SetMessageSink(&messages);
    SetFileDialogs(&dialogs);
    SetNow(QDateTime());
    CreateDataFile(DataFile());
    gDbAccess = new TDbAccess;
    gDbAccess->Connect();
    ASSERT_TRUE(gDbAccess->Connection->Connected()) << messages.Texts().join(QLatin1Char('\n')).toStdString();
}

void TDataFileTest::TearDown() {
    delete gDbAccess;
    gDbAccess = nullptr;
    SetMessageSink(nullptr);
    SetFileDialogs(nullptr);
    SetNow(QDateTime());
}

QStringList TDataFileTest::Rows(const QString& sql) {
    gDbAccess->OpenQuery(sql);
    QStringList out;
    TResultSet* rs = gDbAccess->QueryData;
    for (int r = 0; r < rs->RecordCount(); ++r) {
        QStringList fields;
        for (int c = 0; c < rs->FieldCount(); ++c)
            fields << rs->Text(r, c);
        out << fields.join(QLatin1Char('|'));
    }
    return out;
}
