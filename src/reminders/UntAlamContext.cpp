// bookkeep_core
#include "reminders/UntAlamContext.h"

#include "data/MD.h"

namespace {
TAlamContext gAlamContextInstance;

qlonglong IdValue(const QString& id) {
    return id.trimmed().toLongLong();
}
} // namespace

TAlamContext* gAlamContext = &gAlamContextInstance;

void TAlamContext::Insert() {
    ExecSql(QStringLiteral("Insert into AlamContext(ReMark) values(?) "), {ReMark});
}

void TAlamContext::Update(const QString& id) {
    ExecSql(QStringLiteral("update AlamContext set Remark=? where ID=?  "), {ReMark, IdValue(id)});
}

void TAlamContext::Delete(const QString& id) {
    ExecSql(QStringLiteral("delete from AlamContext where ID=? "), {IdValue(id)});
}

QString TAlamContext::ListSql() {
    return QStringLiteral("select Id,Remark from AlamContext ");
}
