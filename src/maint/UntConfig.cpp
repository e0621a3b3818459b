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
    // Bound values: a password holds whatever the user typed, quotes included.
    LastSql = QStringLiteral("update SysSet set bPass=?,[PassWord]=? ");
    ExecSql(LastSql, QVariantList{qlonglong(bPass ? -1 : 0), PassWord});
}
