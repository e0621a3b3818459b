#pragma once
// In-place renaming of a group's label: the tree is editable only while the label is edited, and the new
// text reaches the table before the label shows it, so a refused name leaves the old label.
#include <QString>
#include <functional>

class TCardTree;

// Edits the selected group's label and keeps handling events until the editing ends. onEdited runs with the
// new text when it differs from the label's; an exception from it is shown and the label keeps its text.
// Does nothing when no group or the root is selected.
void EditSelectedGroupLabel(TCardTree* tree, const std::function<void(const QString&)>& onEdited);
