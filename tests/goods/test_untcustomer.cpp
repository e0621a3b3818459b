// Goods records: the query items, deletions and loading of one record.
#include "common/UException.h"
#include "data/MD.h"
#include "goods/GoodsTestData.h"
#include "goods/UntCustomer.h"
#include "support/TestFixture.h"

using namespace goods_test;

namespace {

class UntCustomerTest : public TDataFileTest {
protected:
    void SetUp() override {
        TDataFileTest::SetUp();
        AddGroup(1, 0, QStringLiteral("饮料"));
        AddGroup(2, 1, QStringLiteral("果汁"));
        AddGoods(Guid(1), 1, QStringLiteral("A01"), QStringLiteral("可乐"));
        AddGoods(Guid(2), 1, QStringLiteral("A02"), QStringLiteral("雪碧"));
        AddGoods(Guid(3), 2, QStringLiteral("B01"), QStringLiteral("橙汁"));
    }
    // The goods grid's query as the goods page leaves it.
    void OpenGoodsGrid() {
        gDbAccess->OpenGrid(QStringLiteral("select a.GUID,商品编号 from Customer a, CustomerType b  where "
                                           "a.TypeID=b.SelfIndex "),
                            nullptr);
    }
    int GridRows() const { return gDbAccess->GridData->RecordCount(); }
};

TEST_F(UntCustomerTest, FillQueryItemsWithoutUserFields) {
    QStringList items{QStringLiteral("old")};
    gCustomer->FillQueryItems(items);
    EXPECT_EQ(items, (QStringList{QStringLiteral("商品编号"), QStringLiteral("商品名称")}));
}

TEST_F(UntCustomerTest, FillQueryItemsAddsUserFieldsInStoredOrder) {
    AddField(QStringLiteral("颜色"));
    AddField(QStringLiteral("单价"), 4);
    AddField(QStringLiteral("产地"), 1);
    QStringList items;
    gCustomer->FillQueryItems(items);
    EXPECT_EQ(items, (QStringList{QStringLiteral("商品编号"), QStringLiteral("商品名称"),
                                  QStringLiteral("颜色"), QStringLiteral("单价"), QStringLiteral("产地")}));
}

TEST_F(UntCustomerTest, DeleteGoodsDeletesOneRecordRefreshesAndReports) {
    OpenGoodsGrid();
    ASSERT_EQ(GridRows(), 3);
    gCustomer->DeleteGoods(Guid(2));
    EXPECT_EQ(Rows(QStringLiteral("select 商品编号 from Customer order by 商品编号")),
              (QStringList{QStringLiteral("A01"), QStringLiteral("B01")}));
    EXPECT_EQ(GridRows(), 2);
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("删除成功！")});
    EXPECT_EQ(messages.shown.front().kind, TMessageKind::Info);
}

TEST_F(UntCustomerTest, DeletingGoodsLeavesTheirMovements) {
    ExecSql(QStringLiteral("insert into StorIn ([GUID],SL) values ('%1',5) ").arg(Guid(1)));
    gCustomer->DeleteGoods(Guid(1));
    EXPECT_EQ(Rows(QStringLiteral("select SL from StorIn where GUID='%1'").arg(Guid(1))), QStringList{"5"});
}

TEST_F(UntCustomerTest, DeleteGroupGoodsDeletesOnlyThatGroupsGoods) {
    OpenGoodsGrid();
    gCustomer->DeleteGroupGoods(QStringLiteral("1"));
    EXPECT_EQ(Rows(QStringLiteral("select 商品编号 from Customer")), QStringList{QStringLiteral("B01")});
    EXPECT_EQ(GridRows(), 1);
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("删除成功！")});
}

TEST_F(UntCustomerTest, DeleteGroupGoodsOfAnEmptyGroupStillReports) {
    gCustomer->DeleteGroupGoods(QStringLiteral("7"));
    EXPECT_EQ(Rows(QStringLiteral("select count(*) from Customer")), QStringList{QStringLiteral("3")});
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("删除成功！")});
}

TEST_F(UntCustomerTest, FailingDeleteNeitherRefreshesNorReports) {
    OpenGoodsGrid();
    EXPECT_THROW(gCustomer->DeleteGroupGoods(QStringLiteral("1 and")), EDBException);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(GridRows(), 3);
    EXPECT_EQ(gCustomer->LastSql, QStringLiteral("delete from Customer where TypeID=1 and "));
}

TEST_F(UntCustomerTest, LoadGoodsReadsTheRecordAndItsGroupName) {
    ExecSql(QStringLiteral("update Customer set 备注='整箱' where GUID='%1'").arg(Guid(3)));
    gCustomer->LoadGoods(Guid(3));
    EXPECT_EQ(gCustomer->TypeID, 2);
    EXPECT_EQ(gCustomer->GroupText, QStringLiteral("果汁"));
    EXPECT_EQ(gCustomer->GoodsCode, QStringLiteral("B01"));
    EXPECT_EQ(gCustomer->GoodsName, QStringLiteral("橙汁"));
    EXPECT_EQ(gCustomer->GoodsRemark, QStringLiteral("整箱"));
    EXPECT_EQ(gCustomer->LastSql, QStringLiteral("select * from Customer where GUID='%1' ").arg(Guid(3)));
}

TEST_F(UntCustomerTest, LoadGoodsWithAMissingGroupRowLeavesGroupTextEmpty) {
    AddGoods(Guid(9), 42, QStringLiteral("Z9"), QStringLiteral("孤儿"));
    gCustomer->LoadGoods(Guid(9));
    EXPECT_EQ(gCustomer->TypeID, 42);
    EXPECT_EQ(gCustomer->GroupText, QString());
    EXPECT_EQ(gCustomer->GoodsCode, QStringLiteral("Z9"));
}

TEST_F(UntCustomerTest, LoadGoodsOfAnUnknownKeyGivesZeroAndEmptyTexts) {
    gCustomer->LoadGoods(Guid(1));
    gCustomer->LoadGoods(Guid(77));
    EXPECT_EQ(gCustomer->TypeID, 0);
    EXPECT_EQ(gCustomer->GoodsCode, QString());
    EXPECT_EQ(gCustomer->GoodsName, QString());
    EXPECT_EQ(gCustomer->GoodsRemark, QString());
    // Group 0 has its row in a new data file.
    EXPECT_EQ(gCustomer->GroupText, QStringLiteral("未分组"));
}

TEST_F(UntCustomerTest, GroupName) {
    EXPECT_EQ(gCustomer->GroupName(1), QStringLiteral("饮料"));
    EXPECT_EQ(gCustomer->GroupName(0), QStringLiteral("未分组"));
    EXPECT_EQ(gCustomer->GroupName(99), QString());
}

TEST_F(UntCustomerTest, InsertStatementNamesExactlyTheFixedColumnsWithoutUserFields) {
    const QString sql = GoodsInsertSql(Guid(5), 2, QStringLiteral("C'1"), QStringLiteral("O'Neil"),
                                       QStringLiteral("备'注"), QString(), QString());
    EXPECT_EQ(sql, QStringLiteral("insert into Customer([GUID],TypeID,商品编号,商品名称,备注 ) values "
                                  "('%1',2,'C''1','O''Neil','备''注')")
                       .arg(Guid(5)));
    ExecSql(sql);
    EXPECT_EQ(Rows(QStringLiteral("select TypeID,商品编号,商品名称,备注,库存 from Customer where GUID='%1'")
                       .arg(Guid(5))),
              QStringList{QStringLiteral("2|C'1|O'Neil|备'注|0")});
}

TEST_F(UntCustomerTest, InsertStatementAppendsTheUserFieldLists) {
    AddField(QStringLiteral("颜色"));
    AddField(QStringLiteral("单价"), 4);
    const QString sql = GoodsInsertSql(Guid(6), 0, QStringLiteral("D1"), QStringLiteral("糖"), QString(),
                                       QStringLiteral("颜色,单价"), QStringLiteral("'红''s','2.5'"));
    EXPECT_EQ(sql,
              QStringLiteral("insert into Customer([GUID],TypeID,商品编号,商品名称,备注,颜色,单价) values "
                             "('%1',0,'D1','糖','','红''s','2.5')")
                  .arg(Guid(6)));
    ExecSql(sql);
    EXPECT_EQ(Rows(QStringLiteral("select 颜色,单价 from Customer where GUID='%1'").arg(Guid(6))),
              QStringList{QStringLiteral("红's|2.5")});
}

TEST_F(UntCustomerTest, UpdateStatementSetsTheFixedColumnsAndTheUserFields) {
    EXPECT_EQ(GoodsUpdateSql(Guid(1), 2, QStringLiteral("A'1"), QStringLiteral("可'乐"), QStringLiteral("r"),
                             QString()),
              QStringLiteral(
                  "update Customer set TypeID=2,商品编号='A''1',商品名称='可''乐',备注='r'  where GUID='%1' ")
                  .arg(Guid(1)));
    AddField(QStringLiteral("颜色"));
    const QString sql = GoodsUpdateSql(Guid(1), 0, QStringLiteral("A1"), QStringLiteral("Men's"), QString(),
                                       QStringLiteral("颜色='黑'"));
    EXPECT_EQ(
        sql, QStringLiteral("update Customer set 颜色='黑',TypeID=0,商品编号='A1',商品名称='Men''s',备注=''  "
                            "where GUID='%1' ")
                 .arg(Guid(1)));
    ExecSql(sql);
    EXPECT_EQ(Rows(QStringLiteral("select TypeID,商品名称,颜色 from Customer where GUID='%1'").arg(Guid(1))),
              QStringList{QStringLiteral("0|Men's|黑")});
    EXPECT_EQ(Rows(QStringLiteral("select count(*) from Customer where 商品名称='雪碧'")),
              QStringList{QStringLiteral("1")});
}

struct SelectCase {
    const char* names;
    int group;
    const char* item;
    const char* text;
    const char* expected;
};

TEST_F(UntCustomerTest, SelectStatementForGroupsAndSearches) {
    const char* base =
        "select a.GUID,b.TypeName as 所属分组,商品编号,商品名称,库存,备注 from Customer a, CustomerType b  "
        "where a.TypeID=b.SelfIndex ";
    const char* withFields =
        "select a.GUID,b.TypeName as 所属分组,商品编号,商品名称,库存,颜色,单价,备注 from Customer a, "
        "CustomerType b  where a.TypeID=b.SelfIndex ";
    const SelectCase cases[] = {
        {"", 0, "商品编号", "", ""},
        {"", 0, "商品编号", "   ", ""},
        {"", 3, "商品编号", "", " and TypeID=3"},
        {"", 0, "商品名称", "可", " and 商品名称 like '%可%'  "},
        {"", 0, "商品名称", " 可 ", " and 商品名称 like '% 可 %'  "},
        {"", 2, "商品名称", "O'Neil", " and TypeID=2 and 商品名称 like '%O''Neil%'  "},
        {"颜色,单价", 0, "颜色", "红", " and 颜色 like '%红%'  "},
    };
    for (const auto& c : cases) {
        const QString names = QString::fromUtf8(c.names);
        const QString expected =
            QString::fromUtf8(names.isEmpty() ? base : withFields) + QString::fromUtf8(c.expected);
        EXPECT_EQ(GoodsSelectSql(names.isEmpty() ? QString() : QStringLiteral("颜色,单价"), c.group,
                                 QString::fromUtf8(c.item), QString::fromUtf8(c.text)),
                  expected)
            << c.expected;
    }
}

TEST_F(UntCustomerTest, SelectStatementRuns) {
    AddGoods(Guid(4), 0, QStringLiteral("N1"), QStringLiteral("O'Neil 外套"));
    AddGoods(Guid(5), 77, QStringLiteral("N2"), QStringLiteral("没有分组行"));
    const auto codes = [this](int group, const QString& item, const QString& text) {
        QStringList out;
        for (const QString& row : Rows(GoodsSelectSql(QString(), group, item, text)))
            out << row.section(QLatin1Char('|'), 2, 2);
        out.sort();
        return out;
    };
    const QString code = QStringLiteral("商品编号"), name = QStringLiteral("商品名称");
    EXPECT_EQ(codes(0, code, QString()), (QStringList{"A01", "A02", "B01", "N1"}));
    EXPECT_EQ(codes(1, code, QString()), (QStringList{"A01", "A02"}));
    EXPECT_EQ(codes(0, name, QStringLiteral("O'Neil")), QStringList{"N1"});
    EXPECT_EQ(codes(0, name, QStringLiteral("汁")), QStringList{"B01"});
    EXPECT_EQ(codes(0, code, QStringLiteral("0")), (QStringList{"A01", "A02", "B01"}));
    EXPECT_EQ(codes(1, code, QStringLiteral("2")), QStringList{"A02"});
}

} // namespace
