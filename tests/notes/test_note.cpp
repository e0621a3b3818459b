#include "data/MD.h"
#include "notes/UntNote.h"
#include "support/TestFixture.h"

namespace {
class NoteTest : public TDataFileTest {
protected:
    QStringList Notes() { return Rows(QStringLiteral("select TypeID,ReMark from NoteBook order by TypeID")); }
};
} // namespace

TEST_F(NoteTest, StoresAnyTextAsTyped) {
    const QString text = QStringLiteral("it's \"quoted\" @#@ %1 ; drop table NoteBook;\n第二行\t'");
    TNote note;
    EXPECT_FALSE(note.Exists(4));
    note.TypeID = 4;
    note.ReMark = text;
    note.Insert();
    EXPECT_TRUE(note.Exists(4));
    EXPECT_FALSE(note.Exists(0));

    TNote other;
    other.Load(4);
    EXPECT_EQ(other.TypeID, 4);
    EXPECT_EQ(other.ReMark, text);

    other.ReMark = text + QStringLiteral("!");
    other.Save();
    EXPECT_EQ(Notes(), QStringList{QStringLiteral("4|") + text + QStringLiteral("!")});

    other.Delete(4);
    EXPECT_TRUE(Notes().isEmpty());
    EXPECT_FALSE(other.Exists(4));
}

TEST_F(NoteTest, RowComesWithTheFirstNonBlankCharacterAndStays) {
    struct Step {
        QString text;
        bool written;
        QStringList rows;
    };
    const Step steps[] = {
        {QStringLiteral(" "), false, {}},
        {QStringLiteral(" \n\t"), false, {}},
        {QStringLiteral(" \n\tx"), true, {QStringLiteral("0| \n\tx")}},
        {QStringLiteral(" \n\tx"), false, {QStringLiteral("0| \n\tx")}}, // unchanged: nothing written
        {QStringLiteral(" \n\txy"), true, {QStringLiteral("0| \n\txy")}},
        {QString(), true, {QStringLiteral("0|")}}, // emptied: the row stays with an empty text
        {QStringLiteral(" "), true, {QStringLiteral("0| ")}},
    };
    TNote note;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.text.toStdString());
        EXPECT_EQ(note.StoreText(0, s.text), s.written);
        EXPECT_EQ(Notes(), s.rows);
    }
    // Another category gets its own row; never two rows for one.
    EXPECT_TRUE(note.StoreText(3, QStringLiteral("b")));
    EXPECT_TRUE(note.StoreText(3, QStringLiteral("bc")));
    EXPECT_EQ(Notes(), (QStringList{QStringLiteral("0| "), QStringLiteral("3|bc")}));
}

TEST_F(NoteTest, GlobalNoteExists) {
    ASSERT_NE(gNote, nullptr);
    gNote->StoreText(1, QStringLiteral("x"));
    EXPECT_TRUE(gNote->Exists(1));
}

TEST(FindInNoteTest, FoldsOnlyAsciiLetters) {
    struct Case {
        QString note;
        QString text;
        int from;
        int expected;
    };
    const Case cases[] = {
        {QStringLiteral("xABCyabc"), QStringLiteral("abc"), 0, 1},
        {QStringLiteral("xABCyabc"), QStringLiteral("abc"), 4, 5},
        {QStringLiteral("xABCyabc"), QStringLiteral("abc"), 6, -1},
        {QStringLiteral("xABCyabc"), QStringLiteral("aBc"), 2, 5},
        {QStringLiteral("xABCyabc"), QString(), 0, -1},
        {QStringLiteral("abc"), QStringLiteral("abcd"), 0, -1},
        {QStringLiteral("ÄÖÜ äöü"), QStringLiteral("äöü"), 0, 4}, // no folding beyond a-z
        {QStringLiteral("Éa"), QStringLiteral("éA"), 0, -1},
        {QStringLiteral("[a]{b}"), QStringLiteral("{B}"), 0, 3}, // punctuation matches exactly
        {QStringLiteral("@`[{"), QStringLiteral("`"), 0, 1},     // '`' is not '@' folded
        {QStringLiteral("库存ABC库存abc"), QStringLiteral("库存a"), 1, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.note + QStringLiteral(" / ") + c.text).toStdString());
        EXPECT_EQ(FindInNote(c.note, c.text, c.from), c.expected);
    }
}
