#include "data/MD.h"

#include "common/UException.h"
#include "common/UntPublic.h"
#include "data/BatchText.h"

#include <QFile>
#include <QFileInfo>

const char* const BatchSeparator = "@#@";
TDbAccess* gDbAccess = nullptr;

namespace {
const QString kQueryError = QStringLiteral("数据库查询错误，请检查！");
const QString kBatchError = QStringLiteral("数据库操作失败！");
const QString kBackupError = QStringLiteral("数据库备份失败！");
const QString kRestoreError = QStringLiteral("数据库恢复失败！");

// Replaces dest by a copy of src; the copy lands beside dest first so that a failed copy leaves dest whole.
void CopyOver(const QString& src, const QString& dest) {
    if (!QFileInfo(src).isFile()) throw EAppError(QStringLiteral("Could not find file '%1'.").arg(src));
    if (QFileInfo(src).canonicalFilePath() == QFileInfo(dest).canonicalFilePath()) return;
    const QString temp = dest + QStringLiteral(".~cp");
    QFile::remove(temp);
    QFile in(src);
    if (!QFile::copy(src, temp))
        throw EAppError(QStringLiteral("Could not copy '%1' to '%2': %3").arg(src, dest, in.errorString()));
    QFile::remove(dest);
    if (QFileInfo::exists(dest) || !QFile::rename(temp, dest)) {
        QFile::remove(temp);
        throw EAppError(QStringLiteral("Could not replace '%1'.").arg(dest));
    }
}
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
    try {
        Connection->Checkpoint();
        CopyOver(DataFilePath(), destFile);
    } catch (const EAppError& e) {
        throw EDBException(e.Message(), kBackupError, QString());
    }
}

void TDbAccess::Restore(const QString& srcFile) {
    try {
        Connection->Close();
        // A file that cannot be opened as a data file would leave the user with nothing: refuse it before
        // anything is replaced.
        TDatabase probe;
        probe.Open(srcFile, DatabasePassword(), true);
        probe.Close();
        TDatabase::RemoveSideFiles(DataFilePath());
        CopyOver(srcFile, DataFilePath());
        Connection->Open(DataFilePath(), DatabasePassword());
    } catch (const EAppError& e) {
        Connection->Close();
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
void RestoreData(const QString& srcFile) {
    gDbAccess->Restore(srcFile);
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
