#pragma once
// The notepad's storage: at most one note per note category in the table NoteBook.
#include <QString>

class TNote {
public:
    int TypeID = 0;
    QString ReMark;

    bool Exists(int typeId);
    void Load(int typeId);
    void Insert();
    void Save();
    void Delete(int typeId);

    // Stores text as the note of typeId the way typing does: changes an existing row when the text differs,
    // adds a row only when the text is not blank. Returns true when something was written.
    bool StoreText(int typeId, const QString& text);
};

extern TNote* gNote;

// Where the search text first occurs in note at or after from, letters a-z matched without case and every
// other character exactly; -1 when it does not occur or is empty.
int FindInNote(const QString& note, const QString& text, int from);
