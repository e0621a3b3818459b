#pragma once
// Filling the reminder list and the preset list from the stores.
class QTreeWidget;
class QTreeWidgetItem;
class TAlam;
class TAlamContext;

// Columns of the reminder list.
enum TAlamColumn { acID = 0, acKind, acTime, acText, acStatus };

// Fills the reminder list with one of the seven views: each row's caption is the ID, its columns the kind,
// time, text and status texts; a missed reminder reads "错过的" in every view and a weekly one names its
// weekday. When a later count fails, the rows filled so far stay.
void FillList(TAlam& alam, QTreeWidget* listView, int view);

// Fills the preset list: the ID as caption, the text as its column.
void FillList(TAlamContext& context, QTreeWidget* listView);

// The text colour of a reminder row by its kind: one-time red, weekly green, monthly blue, daily the list's
// own.
void ColourAlamRow(QTreeWidgetItem* item);
