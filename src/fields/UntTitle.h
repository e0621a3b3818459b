#pragma once
// Field definitions: the kinds, the TitleValues encoding, the name rules and the statements that create,
// change and remove a field together with its column of Customer. No windows here.
#include "data/WorkbookWriter.h"

#include <QDate>
#include <QString>
#include <QStringList>

// The input kinds, in the order of the editor's list (AppTitle.TitleType).
enum TTitleKind { tkText = 0, tkList = 1, tkMemoryList = 2, tkDate = 3, tkNumber = 4 };
constexpr int TitleKindCount = 5;

extern const char* const TitleListSeparator; // "%#%"
extern const char* const TitleDateToday;     // "date()"

// "标准文本框" ... for kinds 0..4; any other number gives its decimal text.
QString TitleKindName(int kind);
QStringList TitleKindNames();
// The text the editor shows in its "类型说明" box; empty for an unknown kind.
QString TitleKindDescription(int kind);

// Option lists: each option followed by "%#%".
QString EncodeTitleOptions(const QStringList& options);
QStringList DecodeTitleOptions(const QString& text);
// The lines of a multi-line box, and the box text that shows given lines (a trailing line break is no line).
QStringList TitleLinesFromText(const QString& boxText);
QString TitleTextFromLines(const QStringList& lines);

// A kind-3 default: "date()" or a fixed date. Dates are written as YYYY-MM-DD; the user's short date format
// is read as well.
QString EncodeTitleDate(bool today, const QDate& date);
// The date a kind-3 default stands for today or on the given day; today when the text is not a date.
QDate TitleDateValue(const QString& titleValues, const QDate& today);
// Parses YYYY-MM-DD or the user's short date format; an invalid date when the text is neither.
QDate ParseTitleDate(const QString& text);

// One row of AppTitle.
struct TTitleDef {
    QString Name;
    int Type = tkText;
    QString Values;
    bool Required = false;
    bool Unique = false;
};

// Name checks of the editor; each raises EAppError with the message for the user.
void CheckReservedTitleName(const QString& typed);
bool IsPlainTitleIdentifier(const QString& name);
void CheckTitleIdentifier(const QString& name);
void CheckTitleDuplicate(const QString& typed); // counts AppTitle rows of that name

// The batches (statements joined by "@#@").
QString NewTitleBatch(const TTitleDef& def); // def.Name is trimmed here
QString ModTitleBatch(const TTitleDef& def, const QString& oldName);
QString RemoveTitleBatch(const QString& name);

// Validates and writes: the checks above, then the batch through ExecSql. The empty-name check is the
// caller's (it is a message, not a failure). New mode trims the name; change mode takes it as typed.
void SaveNewTitle(const TTitleDef& typed);
void SaveModTitle(const TTitleDef& typed, const QString& oldName);
void RemoveTitle(const QString& name);

// Reads one definition; false when no row has that name.
bool LoadTitle(const QString& name, TTitleDef& def);
// All field names joined by "," in stored order; empty without definitions.
QString TitleNameList();
QStringList TitleNames();
// The sheet kinds of the user's number and date fields, whose Customer columns are text.
TFieldCellKinds TitleCellKinds();

// Text between single quotes in SQL, inner quotes doubled: 'O''Neil'.
QString SqlQuoted(const QString& text);
// Statements and messages of the field panel's unique check.
QString UniqueCountSql(const QString& field, const QString& value, const QString& guid, bool change);
QString UniqueTakenMessage(const QString& field, const QString& value);
QString RequiredEmptyMessage(const QString& field);
// How the panel writes a date into a text column.
QString PanelDateText(const QDate& date);
