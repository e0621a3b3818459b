#include "maint/DataMaint.h"

#include "common/UntPublic.h"
#include "data/MD.h"

QString BackupFileName(const QString& chosen) {
    if (chosen.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive)) return chosen;
    return chosen + QStringLiteral(".dat");
}

QString SafetyCopyPath() {
    return AppDir() + QStringLiteral("tmpData.dat");
}

QString RestoreQuestion() {
    return QStringLiteral("你确定要恢复数据吗？你做的操作可能会覆盖最新的数据！");
}

QString ClearQuestion() {
    return QStringLiteral("你确定要清除数据吗？你做的操作将无法还原！");
}

void BackupDataAs(const QString& chosen) {
    BackupData(BackupFileName(chosen));
    ShowInfo(QStringLiteral("备份成功!"));
}

void MakeSafetyCopy() {
    BackupData(SafetyCopyPath());
}

void RestoreDataFrom(const QString& source) {
    // The chosen file is copied and checked before the safety copy is replaced, so that restoring the
    // safety copy itself, or a refused file, never costs the data it holds.
    RestoreData(source, [] { MakeSafetyCopy(); });
    WriteLog(QStringLiteral("数据恢复！"));
    ShowInfo(QStringLiteral("数据恢复成功!"));
}

void ClearGoodsData() {
    MakeSafetyCopy();
    ExecSql(QStringLiteral("delete from customer") + QLatin1String(BatchSeparator) +
            QStringLiteral("delete from ConnFile") + QLatin1String(BatchSeparator) +
            QStringLiteral("delete from CustomerType"));
    WriteLog(QStringLiteral("系统初始化！"));
    ShowInfo(QStringLiteral("清除成功!"));
}
