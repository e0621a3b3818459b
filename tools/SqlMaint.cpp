// Backups by a scheduled job, restore and compaction for support, from the command line.
#include "SqlMaint.h"
#include "ToolSupport.h"

#include "common/UException.h"
#include "common/UntPublic.h"
#include "data/DataFileLock.h"
#include "data/MD.h"
#include "maint/DataMaint.h"
#include "maint/UntCompactDatabase.h"

#include <QFileInfo>
#include <cstdio>

const char* const MaintUsage = "       bookkeep-sql --backup FILE DEST\n"
                               "       bookkeep-sql --restore FILE SOURCE\n"
                               "       bookkeep-sql --compact FILE\n";

namespace {

// Refuses a data file that a running program has open: replacing or compacting it under the program would
// lose what it writes next.
bool HeldByTheProgram(const QFileInfo& file) {
    return DataFileHeldElsewhere(file.absoluteFilePath());
}

} // namespace

bool IsMaintCommand(const QStringList& args) {
    return !args.isEmpty() &&
           (args[0] == QLatin1String("--backup") || args[0] == QLatin1String("--restore") ||
            args[0] == QLatin1String("--compact"));
}

int RunMaintCommand(const QStringList& args) {
    const QString command = args.value(0);
    const bool compact = command == QLatin1String("--compact");
    if (args.size() != (compact ? 2 : 3)) {
        std::fprintf(stderr, "usage:%s", MaintUsage + 6);
        return 2;
    }
    const QFileInfo file(args[1]);
    if (HeldByTheProgram(file)) {
        Say(DataFileInUseText());
        return 1;
    }
    if (compact) {
        QString error;
        if (!QFileInfo(file).isFile() ||
            !CompactDatabase(file.absoluteFilePath(), DatabasePassword(), &error)) {
            Say(QStringLiteral("数据库压缩失败！\n") + (error.isEmpty() ? file.absoluteFilePath() : error));
            return 1;
        }
        return 0;
    }

    // The safety copy lies beside the data file, as it does beside the program's own.
    TToolConnection connection(file);
    if (!connection.Open()) return 1;
    const QString other = QFileInfo(args[2]).absoluteFilePath();
    try {
        if (command == QLatin1String("--backup"))
            BackupDataAs(other);
        else
            RestoreDataFrom(other);
    } catch (const EDBException& e) {
        Say(e.UserMsg + QLatin1Char('\n') + e.Message());
        return 1;
    } catch (const EAppError& e) {
        Say(e.Message());
        return 1;
    }
    return 0;
}
