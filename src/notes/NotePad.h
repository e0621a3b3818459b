#pragma once
// The notepad page's behaviour: the note of the selected category in the note box, saved on every change,
// the find button and the category commands.
#include <QObject>

class TCardTree;
class TNotePage;

class TNotePad : public QObject {
    Q_OBJECT
public:
    // page owns this object; tree is the main window's note tree over the page's tvNote.
    TNotePad(TNotePage* page, TCardTree* tree);

    // Shows the selected category's note (a click in the tree, and the main window's first show).
    void tvNoteClick();
    void mmoNoteChange();
    void btn2Click();
    void NAddNoteTypeClick();
    void NModNoteTypeClick();
    void NDelNoteTypeClick();

    // The category whose note the box holds; -1 when it holds none.
    int ShownTypeId() const { return m_shownId; }

private:
    void ShowNote(int typeId);
    void FollowSelection();
    void SetBoxText(const QString& text);

    TNotePage* m_page;
    TCardTree* m_tree;
    int m_shownId = -1;
    bool m_filling = false;
};
