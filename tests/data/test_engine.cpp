#include "data/JetFunctions.h"
#include "data/JetSql.h"
#include "data/MD.h"
#include "support/TestFixture.h"

class EngineTest : public TDataFileTest {};

TEST_F(EngineTest, SmokeSelect) {
    ExecSql(QStringLiteral("insert into Customer(GUID,TypeID,商品编号,商品名称) values ('A',0,'X1','Y1')"));
    EXPECT_EQ(Rows(QStringLiteral("select 商品编号,库存 from Customer")), QStringList{QStringLiteral("X1|0")});
}
