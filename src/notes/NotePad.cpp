#include "notes/NotePad.h"

#include "common/UException.h"
#include "controls/DateKeys.h"
#include "notes/NotePage.h"
#include "notes/UntNote.h"
#include "tree/TreeRename.h"
#include "tree/UntTree.h"

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTreeWidget>

TNotePad::TNotePad(TNotePage* page, TCardTree* tree) : QObject(page), m_page(page), m_tree(tree) {
    setObjectName(QStringLiteral("NotePad"));
    QTreeWidget* tv = m_page->tvNote();
    QPlainTextEdit* box = m_page->mmoNote();
    TDateKeyFilter::Install(box);
    box->setReadOnly(true); // until a category is shown
    // Whatever moves the selection (a click, the arrow keys, a removed node) brings the box in step with
    // it before the next change can be saved.
    connect(tv, &QTreeWidget::currentItemChanged, this, Guarded([this] { FollowSelection(); }));
    connect(tv, &QTreeWidget::itemSelectionChanged, this, Guarded([this] { FollowSelection(); }));
    connect(tv, &QTreeWidget::itemClicked, this, Guarded([this] { tvNoteClick(); }));
    connect(box, &QPlainTextEdit::textChanged, this, Guarded([this] { mmoNoteChange(); }));
    connect(m_page->btn2(), &QPushButton::clicked, this, Guarded([this] { btn2Click(); }));
    connect(m_page->NAddNoteType(), &QAction::triggered, this, Guarded([this] { NAddNoteTypeClick(); }));
    connect(m_page->NModNoteType(), &QAction::triggered, this, Guarded([this] { NModNoteTypeClick(); }));
    connect(m_page->NDelNoteType(), &QAction::triggered, this, Guarded([this] { NDelNoteTypeClick(); }));
}

void TNotePad::SetBoxText(const QString& text) {
    // What the program puts into the box is stored already; it is not a change to save.
    m_filling = true;
    try {
        m_page->mmoNote()->setPlainText(text);
    } catch (...) {
        m_filling = false;
        throw;
    }
    m_filling = false;
}

void TNotePad::ShowNote(int typeId) {
    QString text;
    if (gNote->Exists(typeId)) {
        gNote->Load(typeId);
        text = gNote->ReMark;
    }
    // The box belongs to no category while it is being filled, so a failed read saves nothing anywhere.
    m_shownId = -1;
    SetBoxText(text);
    m_shownId = typeId;
    m_page->mmoNote()->setReadOnly(false);
}

void TNotePad::FollowSelection() {
    if (!m_tree->Selected()) {
        // Typing now could not be saved anywhere; the box waits for a category.
        m_page->mmoNote()->setReadOnly(true);
        return;
    }
    const int id = m_tree->SelectedGroupIndex();
    if (id != m_shownId || m_page->mmoNote()->isReadOnly()) ShowNote(id);
}

void TNotePad::tvNoteClick() {
    if (!m_tree->Selected()) return;
    ShowNote(m_tree->SelectedGroupIndex());
}

void TNotePad::mmoNoteChange() {
    if (m_filling || !m_tree->Selected()) return;
    const int id = m_tree->SelectedGroupIndex();
    if (id != m_shownId) {
        // Never store one category's text as another's.
        ShowNote(id);
        return;
    }
    gNote->StoreText(id, m_page->mmoNote()->toPlainText());
}

void TNotePad::btn2Click() {
    QPlainTextEdit* box = m_page->mmoNote();
    QTextCursor cursor = box->textCursor();
    const QString text = m_page->Edit1()->text();
    const int at = FindInNote(box->toPlainText(), text, cursor.selectionEnd());
    if (at >= 0) {
        box->setFocus();
        cursor.setPosition(at);
        cursor.setPosition(at + int(text.size()), QTextCursor::KeepAnchor);
    } else {
        cursor.setPosition(0);
    }
    box->setTextCursor(cursor);
}

void TNotePad::NAddNoteTypeClick() {
    if (m_tree->NewGroup()) ShowNote(m_tree->SelectedGroupIndex());
}

void TNotePad::NModNoteTypeClick() {
    EditSelectedGroupLabel(m_tree, [this](const QString& name) { m_tree->RenameGroup(name); });
}

void TNotePad::NDelNoteTypeClick() {
    if (!m_tree->Selected()) return;
    const int id = m_tree->SelectedGroupIndex();
    m_tree->DeleteGroup();
    gNote->Delete(id);
    if (m_tree->Selected()) ShowNote(m_tree->SelectedGroupIndex());
}
