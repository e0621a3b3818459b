#pragma once
// The panel of user-defined goods fields: one label and one input control per field definition, built at run
// time inside a container that the host window gives (the goods entry dialogs' pnlDIY, the preview window).
//
// Each field n (counted from 1 in the stored order of AppTitle) becomes two children of the container:
//   "Label<n>"  a right-aligned label with the field name, and
//   "Ctrl<n>"   the input control: QLineEdit (kind 0), editable QComboBox (kinds 1 and 2), QDateEdit (kind 3)
//   or
//               TCardFloatIntEdit (kind 4, decimal numbers).
// The control carries its field name as its tool tip (the hint) and its required / unique flags as its
// background colour (QPalette::Base); every operation below reads both back from the control.
//
// Calling order in a goods entry dialog: Build when the dialog is created; Fill (change dialog only) before
// it is shown; on OK: CheckRequired, CheckUnique, then InsertLists or UpdateList, and the caller runs its own
// statement. The checks raise EAppError with the message for the user; nothing is written by the panel.
#include <QColor>
#include <QString>

class QWidget;
class TResultSet;

class TDIYPanel {
public:
    // Background colours that mark a control as required, unique, or both.
    static const QColor RequiredColor; // (248, 242, 139)
    static const QColor UniqueColor;   // (137, 239, 234)
    static const QColor BothColor;     // (254, 189, 177)

    // Creates the labels and controls in container from the current field definitions, three per row
    // (top = 20 + 38*row, label left = 2 + 200*col, control left = label left + 78). The container owns them.
    // Runs the definition query in gDbAccess->QueryData and the option query of a kind-2 field in QueryData2.
    static void Build(QWidget* container);

    // Raises "<field>不能为空！" for the first required text or combo box whose text is empty.
    static void CheckRequired(QWidget* container);

    // Raises "标题名称 <field> 输入的信息 <value> 已经存在，不能重复输入！" for the first unique field whose
    // value another goods record holds. For a new record pass change = false (the key is then unused, pass
    // "0"); for a change pass change = true and the record's GUID, which excludes the record itself.
    static void CheckUnique(QWidget* container, const QString& guid, bool change);

    // The user-defined part of an INSERT into Customer: columns "a,b,c" and values "'x','y','2024-01-31'"
    // (single quotes inside values doubled). Both are empty when there are no fields.
    static void InsertLists(QWidget* container, QString& columns, QString& values);

    // The user-defined part of an UPDATE of Customer: "a='x',b='y'" (quotes doubled); empty without fields.
    static QString UpdateList(QWidget* container);

    // Sets every control from the current row of record (a full row of Customer, e.g. gDbAccess->QueryData
    // after "select * from Customer where [GUID]='...' "). A missing or NULL value gives the empty text; a
    // date field whose text is empty or not a date shows today.
    static void Fill(QWidget* container, const TResultSet& record);

    // The field name a control carries, and its flags read from its colour (for hosts and tests).
    static QString FieldName(const QWidget* control);
    static bool IsRequired(const QWidget* control);
    static bool IsUnique(const QWidget* control);
};
