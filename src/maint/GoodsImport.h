#pragma once
// Appending goods records from a worksheet: the part of the import that the import page and the
// command-line tool share.
#include "maint/SheetTable.h"

#include <QString>
#include <QStringList>

// "数据导入失败，失败原因：" followed by the reason: how the import's failures are shown.
QString ImportFailureMessage(const QString& reason);
// "输入导入成功，导入条数：" followed by the count.
QString ImportSuccessMessage(int count);

// Appends one goods record per row of sheet to Customer, all rows in one transaction: a new GUID, group
// groupIndex, and for each of fields (goods field names, "商品编号", "商品名称" or user fields) the sheet's
// column of that name (an empty cell stays NULL); every other column gets its default (库存 0).
// Returns the number of records added. A field the sheet has no column for, or a row the data file
// refuses, raises EAppError and adds nothing. A sheet without any cells adds nothing and returns 0.
int ImportGoods(const TSheetTable& sheet, const QStringList& fields, int groupIndex);

// Reads the first worksheet of the workbook or CSV text at path and imports it as above.
int ImportGoodsFile(const QString& path, const QStringList& fields, int groupIndex);
