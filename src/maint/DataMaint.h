#pragma once
// Backup, restore and clearing of the data file with their messages and log entries, shared by the data
// maintenance dialog and the command line. Failures are exceptions of the access layer.
#include <QString>

// The chosen backup name with ".dat" appended, unless it already ends so.
QString BackupFileName(const QString& chosen);
// AppDir + "tmpData.dat": the data as it was before the last restore, clearing or import.
QString SafetyCopyPath();

// A checked copy of the data file under BackupFileName(chosen), then "备份成功!".
void BackupDataAs(const QString& chosen);
// Replaces the safety copy by a checked copy of the data file ("数据库备份失败！" otherwise).
void MakeSafetyCopy();
// The safety copy, the data file replaced by source, the log entry and "数据恢复成功!". A source that is not
// a data file of ours is refused with "数据库恢复失败！" before anything, the safety copy included, changes.
void RestoreDataFrom(const QString& source);
// The safety copy, then every goods record, attached file and goods group in one transaction, the log entry
// and "清除成功!".
void ClearGoodsData();

// The texts of the questions the dialog asks first.
QString RestoreQuestion();
QString ClearQuestion();
