#include "data/MD.h"

#include "common/UException.h"
#include "common/UntPublic.h"
#include "data/BatchText.h"
#include "data/DataFileCopy.h"
#include "data/EngineInternal.h"

#include <QFile>
#include <QFileInfo>

const char* const BatchSeparator = "@#@";
TDbAccess* gDbAccess = nullptr;

namespace {
const QString kQueryError = QStringLiteral("数据库查询错误，请检查！");
const QString kBatchError = QStringLiteral("数据库操作失败！");
const QString kBackupError = QStringLiteral("数据库备份失败！");
const QString kRestoreError = QStringLiteral("数据库恢复失败！");

} // namespace

QString DatabasePassword() {
    return QStringLiteral("86420975318642");
}

TDbAccess::TDbAccess()
    : Connection(new TDatabase), GridSource(new TDataSource), HistorySource(new TDataSource),
      GridData(new TResultSet(Connection)), HistoryData(new TResultSet(Connection)),
      IntData(new TResultSet(Connection)), QueryData(new TResultSet(Connection)),
      QueryData2(new TResultSet(Connection)) {}

TDbAccess::~TDbAccess() {
    delete GridSource;
    delete HistorySource;
    delete GridData;
    delete HistoryData;
    delete IntData;
    delete QueryData;
    delete QueryData2;
    delete Connection;
}

QString TDbAccess::DataFilePath() {
    return AppDir() + QStringLiteral("bookkeep.dat");
}

void TDbAccess::Connect() {
    try {
        Connection->Open(DataFilePath(), DatabasePassword());
    } catch (const EAppError& e) {
        Connection->Close();
        ShowErrorDetail(QStringLiteral("数据库连接失败！"), e.Message(), QString());
    }
}

void TDbAccess::OpenInto(TResultSet* rs, const QString& sql, const QVariantList& params) {
    rs->Close();
    try {
        rs->Open(sql, params);
    } catch (const EAppError& e) {
        throw EDBException(e.Message(), kQueryError, sql);
    }
}

void TDbAccess::OpenQuery(const QString& sql, const QVariantList& params) {
    OpenInto(QueryData, sql, params);
}
void TDbAccess::OpenQuery2(const QString& sql, const QVariantList& params) {
    OpenInto(QueryData2, sql, params);
}

void TDbAccess::CheckStatement(const QString& sql) {
    try {
        engine_detail::StmtGuard g{Connection->Prepare(sql)};
    } catch (const EEngineError& e) {
        throw EDBException(e.Message(), kQueryError, sql);
    }
}

int TDbAccess::GetInt(const QString& sql, const QVariantList& params) {
    OpenInto(IntData, sql, params);
    int value = 0;
    try {
        if (!IntData->Eof() && IntData->FieldCount() > 0) value = IntData->Fields(0).AsInteger();
    } catch (const EAppError& e) {
        IntData->Close();
        throw EDBException(e.Message(), kQueryError, sql);
    }
    IntData->Close();
    return value;
}

void TDbAccess::ExecBatch(const QString& text) {
    try {
        Connection->BeginTrans();
        try {
            // A separator inside quoted text is part of the text a user typed.
            for (const QString& piece : SplitBatch(text, QLatin1String(BatchSeparator))) {
                bool blank = true;
                for (const QChar c : piece)
                    if (!(c.isSpace() || c.category() == QChar::Other_Control)) {
                        blank = false;
                        break;
                    }
                if (!blank) Connection->Execute(piece);
            }
            Connection->CommitTrans();
        } catch (...) {
            Connection->RollbackTrans();
            throw;
        }
    } catch (const EAppError& e) {
        throw EDBException(e.Message(), kBatchError, text);
    }
}

void TDbAccess::ExecBound(const std::vector<TBoundStatement>& batch) {
    QString current;
    try {
        Connection->BeginTrans();
        try {
            for (const TBoundStatement& st : batch) {
                current = st.Sql;
                Connection->Execute(st.Sql, st.Params);
            }
            Connection->CommitTrans();
        } catch (...) {
            Connection->RollbackTrans();
            throw;
        }
    } catch (const EAppError& e) {
        throw EDBException(e.Message(), kBatchError, current);
    }
}

void TDbAccess::Backup(const QString& destFile) {
    // Through SQLite, so the copy holds every committed change, and checked before it counts as made.
    try {
        const QFileInfo dest(destFile);
        if (dest.exists() && dest.canonicalFilePath() == QFileInfo(Connection->Path()).canonicalFilePath())
            throw EAppError(QStringLiteral("The data file cannot be its own backup: '%1'.").arg(destFile));
        CopyDatabaseTo(Connection->Handle(), destFile, DatabasePassword());
    } catch (const EAppError& e) {
        throw EDBException(e.Message(), kBackupError, QString());
    }
}

void TDbAccess::Restore(const QString& srcFile, const std::function<void()>& beforeReplace) {
    const QString target = Connection->Connected() ? Connection->Path() : DataFilePath();
    // The chosen file is copied beside the data file and checked first: a file that is not a data file of
    // ours is refused while the current file and connection are still as they were.
    const QString staged = FreeNameBeside(target, QStringLiteral("~RS"));
    try {
        CopyDatabaseFileTo(srcFile, staged, DatabasePassword());
    } catch (const EAppError& e) {
        throw EDBException(e.Message(), kRestoreError, QString());
    }
    try {
        if (beforeReplace) beforeReplace();
    } catch (...) {
        QFile::remove(staged);
        throw;
    }
    try {
        Connection->Close();
        TDatabase::RemoveSideFiles(target);
        try {
            ReplaceFile(staged, target);
        } catch (...) {
            QFile::remove(staged);
            // The old file is whole: go on with it.
            Connection->Open(target, DatabasePassword());
            throw;
        }
        Connection->Open(target, DatabasePassword());
    } catch (const EAppError& e) {
        throw EDBException(e.Message(), kRestoreError, QString());
    }
}

void TDbAccess::OpenGridOn(TDataSource* source, TResultSet* data, const QString& sql, IDataGrid* grid) {
    data->Close();
    data->CommandText.clear();
    source->SetDataSet(data);
    if (grid) grid->SetDataSource(source);
    OpenInto(data, sql);
    if (grid) grid->FitColumnWidths();
}

void TDbAccess::OpenGrid(const QString& sql, IDataGrid* grid) {
    OpenGridOn(GridSource, GridData, sql, grid);
}
void TDbAccess::OpenHistoryGrid(const QString& sql, IDataGrid* grid) {
    OpenGridOn(HistorySource, HistoryData, sql, grid);
}

void TDbAccess::RefreshGrid() {
    GridData->Requery();
}

void ExecSql(const QString& text) {
    gDbAccess->ExecBatch(text);
}
void ExecSql(const QString& sql, const QVariantList& params) {
    gDbAccess->ExecBound({TBoundStatement{sql, params}});
}
void ExecSql(const std::vector<TBoundStatement>& batch) {
    gDbAccess->ExecBound(batch);
}
int QueryInt(const QString& sql, const QVariantList& params) {
    return gDbAccess->GetInt(sql, params);
}
void BackupData(const QString& destFile) {
    gDbAccess->Backup(destFile);
}
void RestoreData(const QString& srcFile, const std::function<void()>& beforeReplace) {
    gDbAccess->Restore(srcFile, beforeReplace);
}

QStringList SplitText(const QString& text, const QString& separator) {
    if (separator.isEmpty()) return {text};
    QStringList pieces;
    qsizetype start = 0;
    qsizetype at;
    while ((at = text.indexOf(separator, start)) >= 0) {
        pieces << text.mid(start, at - start);
        start = at + separator.size();
    }
    pieces << text.mid(start);
    return pieces;
}

QString QuotedSql(const QString& text) {
    QString q = text;
    q.replace(QLatin1Char('\''), QStringLiteral("''"));
    return q;
}
