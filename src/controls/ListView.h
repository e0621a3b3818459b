#pragma once
#include <QString>

class QTreeWidget;

// Fills a report-style list with the rows of a query: field 0 is the item's caption, the rest its columns.
void FillListView(const QString& sql, QTreeWidget* listView);
