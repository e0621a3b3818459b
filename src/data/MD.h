#pragma once
// The access layer: the one connection to the data file and the result sets every part of the program uses.
#include "data/DataSource.h"
#include "data/Engine.h"

#include <QString>
#include <QStringList>
#include <functional>

class QTreeWidget;

extern const char* const BatchSeparator; // "@#@"

class TDbAccess {
public:
    TDbAccess();
    ~TDbAccess();
    TDbAccess(const TDbAccess&) = delete;
    TDbAccess& operator=(const TDbAccess&) = delete;

    TDatabase* Connection;
    TDataSource* GridSource;
    TDataSource* HistorySource;
    TResultSet* GridData;
    TResultSet* HistoryData;
    TResultSet* IntData;
    TResultSet* QueryData;
    TResultSet* QueryData2;

    // Opens AppDir + "bookkeep.dat"; on failure shows "数据库连接失败！" and leaves the connection closed.
    void Connect();
    void OpenQuery(const QString& sql);
    void OpenQuery2(const QString& sql);
    int GetInt(const QString& sql);
    void ExecBatch(const QString& text);
    // Copies the data file, through SQLite and checked, to destFile ("数据库备份失败！" otherwise).
    void Backup(const QString& destFile);
    // Replaces the data file by a checked copy of srcFile and reconnects ("数据库恢复失败！" otherwise). A file
    // that is not a data file of ours is refused before anything changes. beforeReplace runs once the copy
    // is known good, before the connection closes (the safety copy goes there); if it throws, nothing changes.
    void Restore(const QString& srcFile, const std::function<void()>& beforeReplace = {});

    // Grid queries: bind the grid, run the statement, fit the columns.
    void OpenGrid(const QString& sql, IDataGrid* grid);
    void OpenHistoryGrid(const QString& sql, IDataGrid* grid);
    void RefreshGrid();

    static QString DataFilePath(); // AppDir + "bookkeep.dat"

private:
    void OpenInto(TResultSet* rs, const QString& sql);
    void OpenGridOn(TDataSource* source, TResultSet* data, const QString& sql, IDataGrid* grid);
};

extern TDbAccess* gDbAccess;

QString DatabasePassword();

void ExecSql(const QString& text);
int QueryInt(const QString& sql);
void BackupData(const QString& destFile);
void RestoreData(const QString& srcFile, const std::function<void()>& beforeReplace = {});
QStringList SplitText(const QString& text, const QString& separator);

// Doubles the single quotes of a text that goes between quotes in SQL.
QString QuotedSql(const QString& text);
