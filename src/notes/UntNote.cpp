#include "notes/UntNote.h"

#include "data/MD.h"

namespace {
TNote gNoteInstance;

QChar FoldAscii(QChar c) {
    const char16_t u = c.unicode();
    return u >= u'a' && u <= u'z' ? QChar(char16_t(u - u'a' + u'A')) : c;
}
} // namespace

TNote* gNote = &gNoteInstance;

bool TNote::Exists(int typeId) {
    return QueryInt(QStringLiteral("select count(TypeID) from NoteBook where TypeID= %1 ").arg(typeId)) > 0;
}

void TNote::Load(int typeId) {
    gDbAccess->OpenQuery(QStringLiteral("select * from NoteBook where TypeID=%1 ").arg(typeId));
    TResultSet* rs = gDbAccess->QueryData;
    TypeID = typeId;
    ReMark = rs->Eof() ? QString() : rs->FieldByName(QStringLiteral("ReMark")).AsString();
}

void TNote::Insert() {
    gDbAccess->OpenQuery(QStringLiteral("select * from NoteBook where 1<> 1 "));
    TResultSet* rs = gDbAccess->QueryData;
    rs->Append();
    rs->SetFieldValue(QStringLiteral("TypeID"), TypeID);
    rs->SetFieldValue(QStringLiteral("ReMark"), ReMark);
    rs->Post();
}

void TNote::Save() {
    gDbAccess->OpenQuery(QStringLiteral("select * from NoteBook where TypeId=%1").arg(TypeID));
    TResultSet* rs = gDbAccess->QueryData;
    rs->First();
    rs->Edit();
    rs->SetFieldValue(QStringLiteral("ReMark"), ReMark);
    rs->Post();
}

void TNote::Delete(int typeId) {
    ExecSql(QStringLiteral("delete from NoteBook where TypeID=%1").arg(typeId));
}

bool TNote::StoreText(int typeId, const QString& text) {
    if (Exists(typeId)) {
        Load(typeId);
        if (text == ReMark) return false;
        TypeID = typeId;
        ReMark = text;
        Save();
        return true;
    }
    if (text.trimmed().isEmpty()) return false;
    TypeID = typeId;
    ReMark = text;
    Insert();
    return true;
}

int FindInNote(const QString& note, const QString& text, int from) {
    const int n = int(text.size());
    if (n == 0 || from < 0) return -1;
    for (int at = from; at + n <= int(note.size()); ++at) {
        int i = 0;
        while (i < n && FoldAscii(note[at + i]) == FoldAscii(text[i]))
            ++i;
        if (i == n) return at;
    }
    return -1;
}
