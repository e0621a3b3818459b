#include "controls/GridExport.h"

#include "common/UException.h"
#include "common/UntPublic.h"
#include "controls/CardDBGrid.h"
#include "data/Engine.h"

#include <QFileInfo>

namespace {

const QString kFailed = QStringLiteral("操作Excel时出现错误,导出数据失败!错误信息:");
const QString kSuffix = QStringLiteral(".xlsx");

} // namespace

TWorkbookStats WriteGridWorkbook(TCardDBGrid* grid, const QString& fileName, const TFieldCellKinds& kinds) {
    TResultSet* ds = grid ? grid->DataSet() : nullptr;
    if (!ds || !ds->Active()) throw EAppError(QStringLiteral("表格中没有数据"));
    std::vector<TSheetColumn> columns;
    const int count = std::min(grid->ColumnCount(), ds->FieldCount());
    for (int k = 0; k < count; ++k)
        if (!grid->isColumnHidden(k))
            columns.push_back({k, ds->FieldNames().at(k), KindOfField(*ds, k, kinds)});
    return WriteWorkbook(fileName, *ds, columns);
}

void ExportGridToExcel(TCardDBGrid* grid, const TFieldCellKinds& kinds) {
    // The dialog adds the suffix to a bare name, so it asks about overwriting the file really written.
    QString name = PromptSaveFileName(QStringLiteral("导出Excel"), QStringLiteral("Excel文件 (*.xlsx)"),
                                      QStringLiteral("xlsx"));
    if (name.isEmpty()) return;
    // The workbook is Office Open XML; without its own extension spreadsheet programs call it damaged.
    if (!name.endsWith(kSuffix)) {
        name += kSuffix;
        // The dialog asked about the name as typed, not about this one.
        if (QFileInfo::exists(name) &&
            !AskYesNo(QStringLiteral("文件") + name + QStringLiteral("已存在,要覆盖吗?")))
            return;
    }
    TWorkbookStats stats;
    try {
        const TWaitingScope waiting(QStringLiteral("正在导出数据,请稍候..."));
        stats = WriteGridWorkbook(grid, name, kinds);
    } catch (const EAppError& e) {
        ShowPlain(kFailed + e.Message());
        return;
    }
    QString text = QStringLiteral("导出数据到") + name + QStringLiteral("成功!");
    if (stats.CutCells > 0)
        text += QStringLiteral("\n其中%1个单元格的文字超过32767个字符,已截断。").arg(stats.CutCells);
    ShowPlain(text);
}
