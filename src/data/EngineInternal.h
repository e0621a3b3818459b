#pragma once
// Small helpers shared by the engine's sources.
#include <QString>
#include <QVariant>
#include <sqlite3.h>
#include <string>

namespace engine_detail {

inline QString Utf8(const char* s) {
    return s ? QString::fromUtf8(s) : QString();
}

// Finalizes a prepared statement when it goes out of scope.
struct StmtGuard {
    sqlite3_stmt* stmt;
    ~StmtGuard() { sqlite3_finalize(stmt); }
};

QString QuoteIdent(const std::string& name);
void BindVariant(sqlite3_stmt* stmt, int index, const QVariant& v);
// Binds the values to the statement's placeholders in order; a count that differs is refused.
void BindParams(sqlite3_stmt* stmt, const QVariantList& params);

} // namespace engine_detail
