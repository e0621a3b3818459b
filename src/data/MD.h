#pragma once
// The access layer: the one connection to the data file and the result sets every part of the program uses.
#include "data/DataSource.h"
#include "data/Engine.h"

#include <QString>
#include <QStringList>

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
    // Compiles a statement without running it, so that a broken one is refused before anything is touched.
    // Raises the query error with the engine's text.
    void CheckStatement(const QString& sql);
    int GetInt(const QString& sql);
    void ExecBatch(const QString& text);
    void Backup(const QString& destFile);
    void Restore(const QString& srcFile);

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
void RestoreData(const QString& srcFile);
QStringList SplitText(const QString& text, const QString& separator);

// Doubles the single quotes of a text that goes between quotes in SQL.
QString QuotedSql(const QString& text);
