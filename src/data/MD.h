#pragma once
// The access layer: the one connection to the data file and the result sets every part of the program uses.
#include "data/DataSource.h"
#include "data/Engine.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

class QTreeWidget;

extern const char* const BatchSeparator; // "@#@"

// One statement with ? placeholders and the values they take, in order.
struct TBoundStatement {
    QString Sql;
    QVariantList Params;
};

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
    // The params overloads bind each value to the next ? of the statement, so user text never becomes SQL.
    void OpenQuery(const QString& sql, const QVariantList& params = {});
    void OpenQuery2(const QString& sql, const QVariantList& params = {});
    int GetInt(const QString& sql, const QVariantList& params = {});
    void ExecBatch(const QString& text);
    void ExecBound(const std::vector<TBoundStatement>& batch);
    void Backup(const QString& destFile);
    void Restore(const QString& srcFile);

    // Grid queries: bind the grid, run the statement, fit the columns.
    void OpenGrid(const QString& sql, IDataGrid* grid);
    void OpenHistoryGrid(const QString& sql, IDataGrid* grid);
    void RefreshGrid();

    static QString DataFilePath(); // AppDir + "bookkeep.dat"

private:
    void OpenInto(TResultSet* rs, const QString& sql, const QVariantList& params = {});
    void OpenGridOn(TDataSource* source, TResultSet* data, const QString& sql, IDataGrid* grid);
};

extern TDbAccess* gDbAccess;

QString DatabasePassword();

void ExecSql(const QString& text);
// One statement with bound values, in a transaction of its own.
void ExecSql(const QString& sql, const QVariantList& params);
// Every statement in one transaction: all or nothing.
void ExecSql(const std::vector<TBoundStatement>& batch);
int QueryInt(const QString& sql, const QVariantList& params = {});
void BackupData(const QString& destFile);
void RestoreData(const QString& srcFile);
QStringList SplitText(const QString& text, const QString& separator);

// Doubles the single quotes of a text that goes between quotes in SQL.
QString QuotedSql(const QString& text);
