#include "SqlExport.h"

#include "common/UException.h"
#include "data/MD.h"
#include "data/WorkbookWriter.h"

#include <QRegularExpression>
#include <cstdio>

int RunSqlExport(const QString& outFile, const QString& sql) {
    static const QRegularExpression isSelect(QStringLiteral("^\\s*select\\b"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (!isSelect.match(sql).hasMatch()) {
        std::fprintf(stderr, "--export takes a select statement\n");
        return 1;
    }
    try {
        gDbAccess->OpenQuery(sql);
        const TResultSet& rs = *gDbAccess->QueryData;
        const TWorkbookStats stats = WriteWorkbook(outFile, rs, SheetColumns(rs));
        if (stats.CutCells > 0) std::fprintf(stderr, "%d cells cut to 32767 characters\n", stats.CutCells);
        return 0;
    } catch (const EDBException& e) {
        std::fprintf(stderr, "%s\n%s\n", e.UserMsg.toUtf8().constData(), e.what());
    } catch (const EAppError& e) {
        std::fprintf(stderr, "%s\n", e.what());
    }
    return 1;
}
