// bookkeep_core
#include "maint/GoodsImport.h"

#include "common/UException.h"
#include "data/MD.h"
#include "goods/UntGUID.h"

#include <memory>

QString ImportFailureMessage(const QString& reason) {
    return QStringLiteral("数据导入失败，失败原因：") + reason;
}

QString ImportSuccessMessage(int count) {
    return QStringLiteral("输入导入成功，导入条数：") + QString::number(count);
}

int ImportGoods(const TSheetTable& sheet, const QStringList& fields, int groupIndex) {
    if (sheet.Header.isEmpty()) return 0;
    QStringList names;
    std::vector<int> columns;
    for (const QString& field : fields) {
        if (names.contains(field, Qt::CaseInsensitive)) continue;
        const int column = sheet.FindColumn(field);
        if (column < 0) throw EAppError(QStringLiteral("工作表中没有“%1”列").arg(field));
        names << field;
        columns.push_back(column);
    }
    if (names.isEmpty() || sheet.RowCount() == 0) return 0;

    TDatabase* db = gDbAccess->Connection;
    // An updatable result over Customer with no rows but all its columns: each sheet row is appended to it.
    TResultSet target(db);
    target.Open(QStringLiteral("SELECT top 1 * FROM Customer where 1=0"));
    for (const QString& name : names)
        if (target.FindField(name) < 0) throw EAppError(QStringLiteral("商品资料中没有“%1”字段").arg(name));
    const QString guidField = QStringLiteral("GUID");
    const QString groupField = QStringLiteral("TypeID");
    db->BeginTrans();
    try {
        for (int row = 0; row < sheet.RowCount(); ++row) {
            target.Append();
            target.SetFieldValue(guidField, NewGuidText());
            target.SetFieldValue(groupField, groupIndex);
            for (size_t i = 0; i < columns.size(); ++i) {
                const std::optional<QString> cell = sheet.Cell(row, columns[i]);
                target.SetFieldValue(names[qsizetype(i)], cell ? QVariant(*cell) : QVariant());
            }
            target.Post();
        }
        db->CommitTrans();
    } catch (...) {
        target.Cancel();
        db->RollbackTrans();
        throw;
    }
    return sheet.RowCount();
}

int ImportGoodsFile(const QString& path, const QStringList& fields, int groupIndex) {
    return ImportGoods(ReadSheetFile(path), fields, groupIndex);
}
