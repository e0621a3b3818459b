// The goods import from the command line: the same checks, safety copy, import and messages as the
// import page.
#include "SqlImport.h"
#include "ToolSupport.h"

#include "common/UException.h"
#include "common/UntPublic.h"
#include "data/DataFileLock.h"
#include "data/MD.h"
#include "goods/UntCustomer.h"
#include "maint/GoodsImport.h"

#include <QFileInfo>
#include <cstdio>

const char* const ImportUsage =
    "       bookkeep-sql --import FILE WORKBOOK --fields NAME[,NAME...] [--group N]\n";

namespace {

int Usage() {
    std::fprintf(stderr, "usage:%s", ImportUsage + 6);
    return 2;
}

} // namespace

int RunImportCommand(const QStringList& args) {
    if (args.size() < 4) return Usage();
    const QFileInfo file(args[0]);
    const QString workbook = QFileInfo(args[1]).absoluteFilePath();
    QStringList fields;
    int group = 0;
    bool haveFields = false;
    for (int i = 2; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) return Usage();
        if (args[i] == QLatin1String("--fields")) {
            fields = args[i + 1].split(QLatin1Char(','), Qt::SkipEmptyParts);
            for (QString& f : fields)
                f = f.trimmed();
            haveFields = true;
        } else if (args[i] == QLatin1String("--group")) {
            bool ok = false;
            group = args[i + 1].toInt(&ok);
            if (!ok) return Usage();
        } else {
            return Usage();
        }
    }
    if (!haveFields) return Usage();
    if (fields.isEmpty()) {
        Say(QStringLiteral("必须选择需要导入的商品资料标题!"));
        return 1;
    }

    // The running program would overwrite what is imported behind its back.
    if (DataFileHeldElsewhere(file.absoluteFilePath())) {
        Say(DataFileInUseText());
        return 1;
    }
    TToolConnection connection(file);
    if (!connection.Open()) return 1;
    try {
        // Only the fields the import page offers, and only a group that exists.
        QStringList offered;
        gCustomer->FillQueryItems(offered);
        for (const QString& f : fields)
            if (!offered.contains(f)) {
                Say(ImportFailureMessage(QStringLiteral("没有可导入的商品资料字段“%1”").arg(f)));
                return 1;
            }
        if (group != 0 &&
            QueryInt(QStringLiteral("select count(*) from CustomerType where SelfIndex=?"), {group}) == 0) {
            Say(ImportFailureMessage(QStringLiteral("没有编号为 %1 的商品分组").arg(group)));
            return 1;
        }
        BackupData(AppDir() + QStringLiteral("tmpData.dat"));
    } catch (const EDBException& e) {
        Say(e.UserMsg + QStringLiteral("\n") + e.Message());
        return 1;
    } catch (const EAppError& e) {
        Say(e.Message());
        return 1;
    }
    int count = 0;
    try {
        count = ImportGoodsFile(workbook, fields, group);
    } catch (const EAppError& e) {
        Say(ImportFailureMessage(e.Message()));
        return 1;
    }
    Say(ImportSuccessMessage(count));
    return 0;
}
