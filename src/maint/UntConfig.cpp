#include "maint/UntConfig.h"

#include "data/MD.h"

#include <memory>

namespace {
std::unique_ptr<TConfig> g_config = std::make_unique<TConfig>();
}

TConfig* gConfig = g_config.get();

void TConfig::Load() {
    LastSql = QStringLiteral("select * from SysSet");
    gDbAccess->OpenQuery(LastSql);
    TResultSet* rs = gDbAccess->QueryData;
    if (rs->Eof()) {
        bPass = false;
        PassWord.clear();
        return;
    }
    bPass = rs->FieldByName(QStringLiteral("bPass")).AsBoolean();
    PassWord = rs->FieldByName(QStringLiteral("PassWord")).AsString();
}

void TConfig::Save() {
    // BOUND VALUES: goes over to "update SysSet set bPass=?,[PassWord]=? " with bound values.
    LastSql = QStringLiteral("update SysSet set bPass=%1,[PassWord]='%2' ")
                  .arg(bPass ? -1 : 0)
                  .arg(QuotedSql(PassWord));
    ExecSql(LastSql);
}
