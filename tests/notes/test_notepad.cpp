#include "common/UException.h"
#include "data/MD.h"
#include "notes/NotePad.h"
#include "notes/NotePage.h"
#include "support/GuiTestSupport.h"
#include "tree/AddType.h"
#include "tree/UntTree.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTimer>
#include <QTreeWidget>
#include <memory>

namespace {
class NotepadTest : public TDataFileTest {
protected:
    void SetUp() override {
        TDataFileTest::SetUp();
        // 1 工作 ─ 2 会议, 3 私事
        Category(1, 0, QStringLiteral("工作"));
        Category(2, 1, QStringLiteral("会议"));
        Category(3, 0, QStringLiteral("私事"));
        Note(0, QStringLiteral("root note"));
        Note(1, QStringLiteral("work note"));
        Note(3, QStringLiteral("private note"));
        page = std::make_unique<TNotePage>();
        tree =
            std::make_unique<TCardTree>(page->tvNote(), QStringLiteral("根目录"), QStringLiteral("NoteType"));
        pad = new TNotePad(page.get(), tree.get());
        page->show();
        tree->LoadGroups();
        page->tvNote()->expandAll();
        // As the main window's first show does: the root selected and its note on view.
        page->tvNote()->setCurrentItem(tree->RootNode);
        pad->tvNoteClick();
    }
    void TearDown() override {
        page.reset();
        tree.reset();
        TDataFileTest::TearDown();
    }
    void Category(int self, int parent, const QString& name) {
        ExecSql(QStringLiteral("insert into NoteType(SelfIndex,ParentIndex,TypeName) values (%1,%2,'%3')")
                    .arg(QString::number(self), QString::number(parent), QuotedSql(name)));
    }
    void Note(int typeId, const QString& text) {
        gDbAccess->OpenQuery(QStringLiteral("select * from NoteBook where 1<>1"));
        gDbAccess->QueryData->Append();
        gDbAccess->QueryData->SetFieldValue(QStringLiteral("TypeID"), typeId);
        gDbAccess->QueryData->SetFieldValue(QStringLiteral("ReMark"), text);
        gDbAccess->QueryData->Post();
    }
    QStringList Notes() { return Rows(QStringLiteral("select TypeID,ReMark from NoteBook order by TypeID")); }
    QTreeWidgetItem* Node(const QString& name) const {
        const auto found = page->tvNote()->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }
    void Click(QTreeWidgetItem* node) {
        page->tvNote()->setCurrentItem(node);
        emit page->tvNote()->itemClicked(node, 0);
    }
    void Key(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}) {
        QKeyEvent press(QEvent::KeyPress, key, mods, text);
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, mods, text);
        QApplication::sendEvent(w, &release);
    }
    // Types the text into the note box key by key at the caret.
    void Type(const QString& text) {
        for (const QChar c : text)
            Key(Box(), Qt::Key(c.toUpper().unicode()), Qt::NoModifier, QString(c));
    }
    QPlainTextEdit* Box() const { return page->mmoNote(); }
    void MoveCaretToEnd() {
        QTextCursor c = Box()->textCursor();
        c.movePosition(QTextCursor::End);
        Box()->setTextCursor(c);
    }
    QString Selection() const { return Box()->textCursor().selectedText(); }

    std::unique_ptr<TNotePage> page;
    std::unique_ptr<TCardTree> tree;
    TNotePad* pad = nullptr;
};
} // namespace

TEST_F(NotepadTest, ShowsTheRootNoteAtStartAndEachCategorysNoteOnClick) {
    EXPECT_EQ(Box()->toPlainText(), QStringLiteral("root note"));
    EXPECT_FALSE(Box()->isReadOnly());
    Click(Node(QStringLiteral("私事")));
    EXPECT_EQ(Box()->toPlainText(), QStringLiteral("private note"));
    Click(Node(QStringLiteral("会议"))); // no note
    EXPECT_EQ(Box()->toPlainText(), QString());
    // Showing notes writes nothing.
    EXPECT_EQ(Notes(), (QStringList{QStringLiteral("0|root note"), QStringLiteral("1|work note"),
                                    QStringLiteral("3|private note")}));
}

TEST_F(NotepadTest, TypingCreatesTheRowWithTheFirstNonBlankCharacterAndKeepsItWhenEmptied) {
    Click(Node(QStringLiteral("会议")));
    Type(QStringLiteral("  "));
    Key(Box(), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_EQ(QueryInt(QStringLiteral("select count(*) from NoteBook where TypeID=2")), 0);
    Type(QStringLiteral("ok"));
    EXPECT_EQ(Rows(QStringLiteral("select ReMark from NoteBook where TypeID=2")),
              QStringList{QStringLiteral("  \nok")});

    Box()->selectAll();
    Key(Box(), Qt::Key_Delete);
    EXPECT_EQ(Box()->toPlainText(), QString());
    EXPECT_EQ(Rows(QStringLiteral("select TypeID,ReMark from NoteBook where TypeID=2")),
              QStringList{QStringLiteral("2|")});
    // Back again, the emptied category shows an empty note.
    Click(Node(QStringLiteral("工作")));
    Click(Node(QStringLiteral("会议")));
    EXPECT_EQ(Box()->toPlainText(), QString());
}

TEST_F(NotepadTest, ArrowKeysKeepNoteAndCategoryInStep) {
    Click(Node(QStringLiteral("工作")));
    EXPECT_EQ(Box()->toPlainText(), QStringLiteral("work note"));
    page->tvNote()->setFocus();
    Key(page->tvNote(), Qt::Key_Down); // to 会议, which has no note
    ASSERT_EQ(tree->Selected(), Node(QStringLiteral("会议")));
    EXPECT_EQ(Box()->toPlainText(), QString());
    Type(QStringLiteral("m"));
    Key(page->tvNote(), Qt::Key_Down); // to 私事
    ASSERT_EQ(tree->Selected(), Node(QStringLiteral("私事")));
    EXPECT_EQ(Box()->toPlainText(), QStringLiteral("private note"));
    MoveCaretToEnd();
    Type(QStringLiteral("!"));
    Key(page->tvNote(), Qt::Key_Up);
    Key(page->tvNote(), Qt::Key_Up); // back to 工作
    ASSERT_EQ(tree->Selected(), Node(QStringLiteral("工作")));
    EXPECT_EQ(Box()->toPlainText(), QStringLiteral("work note"));
    EXPECT_EQ(Notes(), (QStringList{QStringLiteral("0|root note"), QStringLiteral("1|work note"),
                                    QStringLiteral("2|m"), QStringLiteral("3|private note!")}));
}

TEST_F(NotepadTest, DeletingACategoryRemovesItsNoteAndShowsTheNextOne) {
    const QStringList all{QStringLiteral("0|root note"), QStringLiteral("1|work note"),
                          QStringLiteral("3|private note")};
    // Refusals and No leave category and note.
    Click(tree->RootNode);
    page->NDelNoteType()->trigger();
    Click(Node(QStringLiteral("工作")));
    page->NDelNoteType()->trigger();
    Click(Node(QStringLiteral("私事")));
    page->NDelNoteType()->trigger(); // answered No
    EXPECT_EQ(messages.Texts(), (QStringList{QStringLiteral("不能删除根分组！"),
                                             QStringLiteral("还有下级分组，不能删除该分组！"),
                                             QStringLiteral("确定要删除 私事 分组吗？")}));
    EXPECT_EQ(Notes(), all);
    EXPECT_NE(Node(QStringLiteral("私事")), nullptr);
    EXPECT_EQ(Box()->toPlainText(), QStringLiteral("private note"));

    // Yes: the category and its note go; the node the tree selects next shows its own note.
    messages.QueueAnswer(true);
    page->NDelNoteType()->trigger();
    EXPECT_EQ(Node(QStringLiteral("私事")), nullptr);
    EXPECT_EQ(Notes(), (QStringList{QStringLiteral("0|root note"), QStringLiteral("1|work note")}));
    ASSERT_NE(tree->Selected(), nullptr);
    const int shown = tree->SelectedGroupIndex();
    EXPECT_EQ(pad->ShownTypeId(), shown);
    EXPECT_EQ(Box()->toPlainText(), shown == 1 ? QStringLiteral("work note") : QString());
    // Typing now goes to the newly selected category only.
    MoveCaretToEnd();
    Type(QStringLiteral("+"));
    EXPECT_EQ(Rows(QStringLiteral("select ReMark from NoteBook where TypeID=%1").arg(shown)),
              QStringList{(shown == 1 ? QStringLiteral("work note") : QString()) + QStringLiteral("+")});
    EXPECT_EQ(QueryInt(QStringLiteral("select count(*) from NoteBook where TypeID=3")), 0);
    EXPECT_EQ(QueryInt(QStringLiteral("select count(*) from NoteType where SelfIndex=3")), 0);
}

TEST_F(NotepadTest, NewCategoryShowsAnEmptyNote) {
    Click(Node(QStringLiteral("私事")));
    WhenModal([&] {
        auto* dialog = qobject_cast<TFormAddType*>(ActiveModal());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->edtPos->text(), QStringLiteral("根目录->私事"));
        dialog->edtName->setText(QStringLiteral("Men's"));
        dialog->btnOK()->click();
    });
    page->NAddNoteType()->trigger();
    ASSERT_NE(tree->Selected(), nullptr);
    EXPECT_EQ(tree->Selected()->text(0), QStringLiteral("Men's"));
    EXPECT_EQ(tree->SelectedGroupIndex(), 4);
    EXPECT_EQ(Box()->toPlainText(), QString());
    Type(QStringLiteral("x"));
    EXPECT_EQ(Rows(QStringLiteral("select ReMark from NoteBook where TypeID=4")),
              QStringList{QStringLiteral("x")});
    EXPECT_EQ(Rows(QStringLiteral("select ReMark from NoteBook where TypeID=3")),
              QStringList{QStringLiteral("private note")});
}

TEST_F(NotepadTest, FindStepsThroughMatchesAndWrapsToTheStart) {
    Click(Node(QStringLiteral("会议")));
    Type(QStringLiteral("xABCyabc"));
    QTextCursor start = Box()->textCursor();
    start.setPosition(0);
    Box()->setTextCursor(start);
    page->Edit1()->setText(QStringLiteral("abc"));
    struct Step {
        int anchor;
        int position;
        QString selected;
    };
    const Step steps[] = {{1, 4, QStringLiteral("ABC")},
                          {5, 8, QStringLiteral("abc")},
                          {0, 0, QString()},
                          {1, 4, QStringLiteral("ABC")}};
    for (const Step& s : steps) {
        page->btn2()->click();
        EXPECT_EQ(Box()->textCursor().anchor(), s.anchor);
        EXPECT_EQ(Box()->textCursor().position(), s.position);
        EXPECT_EQ(Selection(), s.selected);
    }
    // An empty find box puts the caret at the start.
    page->Edit1()->clear();
    page->btn2()->click();
    EXPECT_EQ(Box()->textCursor().position(), 0);
    EXPECT_FALSE(Box()->textCursor().hasSelection());
    // Finding writes nothing.
    EXPECT_EQ(Rows(QStringLiteral("select ReMark from NoteBook where TypeID=2")),
              QStringList{QStringLiteral("xABCyabc")});
}

TEST_F(NotepadTest, CtrlDStoresTodaysDateInAnEmptyNote) {
    const QDateTime moment(QDate(2024, 11, 30), QTime(8, 5, 1));
    SetNow(moment);
    Click(Node(QStringLiteral("会议")));
    Key(Box(), Qt::Key_D, Qt::ControlModifier);
    const QString date = QLocale::system().toString(moment.date(), QLocale::ShortFormat);
    EXPECT_EQ(Box()->toPlainText(), date);
    EXPECT_EQ(Rows(QStringLiteral("select ReMark from NoteBook where TypeID=2")), QStringList{date});
    Key(Box(), Qt::Key_T, Qt::ControlModifier | Qt::AltModifier);
    const QString stored = Rows(QStringLiteral("select ReMark from NoteBook where TypeID=2")).value(0);
    EXPECT_TRUE(stored.startsWith(date + date + QLatin1Char(' '))) << stored.toStdString();
    EXPECT_TRUE(stored.contains(QStringLiteral("8:05:01"))) << stored.toStdString();
}

TEST_F(NotepadTest, DateKeysLeaveTheBoxAloneWhileNoCategoryIsSelected) {
    SetNow(QDateTime(QDate(2024, 11, 30), QTime(8, 5, 1)));
    Click(Node(QStringLiteral("私事")));
    page->tvNote()->clearSelection(); // as a Ctrl+click on the selected node does
    ASSERT_EQ(tree->Selected(), nullptr);
    ASSERT_TRUE(Box()->isReadOnly());
    Key(Box(), Qt::Key_D, Qt::ControlModifier);
    Key(Box(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(Box()->toPlainText(), QStringLiteral("private note"));
    EXPECT_EQ(Notes(), (QStringList{QStringLiteral("0|root note"), QStringLiteral("1|work note"),
                                    QStringLiteral("3|private note")}));
}

TEST_F(NotepadTest, RenameInPlaceWritesTheNewName) {
    auto renameTo = [&](const QString& text) {
        QTimer::singleShot(0, [&, text] {
            auto* editor = page->tvNote()->findChild<QLineEdit*>();
            ASSERT_NE(editor, nullptr);
            editor->setText(text);
            Key(editor, Qt::Key_Return);
        });
        page->NModNoteType()->trigger();
    };
    Click(Node(QStringLiteral("会议")));
    renameTo(QStringLiteral("Men's 会议"));
    EXPECT_EQ(Rows(QStringLiteral("select TypeName from NoteType where SelfIndex=2")),
              QStringList{QStringLiteral("Men's 会议")});
    EXPECT_EQ(tree->Selected()->text(0), QStringLiteral("Men's 会议"));
    EXPECT_EQ(page->tvNote()->editTriggers(), QAbstractItemView::NoEditTriggers);

    // A name the tree holds is refused and the label keeps its name.
    renameTo(QStringLiteral("私事"));
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("该名称已经存在，请重新输入！")});
    EXPECT_EQ(tree->Selected()->text(0), QStringLiteral("Men's 会议"));
    EXPECT_EQ(Rows(QStringLiteral("select TypeName from NoteType where SelfIndex=2")),
              QStringList{QStringLiteral("Men's 会议")});
}

TEST_F(NotepadTest, RootCannotBeRenamed) {
    Click(tree->RootNode);
    bool editorOpened = false;
    QTimer::singleShot(0, [&] { editorOpened = page->tvNote()->findChild<QLineEdit*>() != nullptr; });
    page->NModNoteType()->trigger();
    QCoreApplication::processEvents();
    EXPECT_FALSE(editorOpened);
    EXPECT_EQ(tree->RootNode->text(0), QStringLiteral("根目录"));
}
