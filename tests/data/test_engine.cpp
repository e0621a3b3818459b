// The engine runs the program's statements with the meaning they were written for.
#include "common/UException.h"
#include "common/UntPublic.h"
#include "data/JetFunctions.h"
#include "data/JetSql.h"
#include "data/MD.h"
#include "support/TestFixture.h"

#include <QFile>

namespace {

const QDateTime kNow(QDate(2024, 3, 5), QTime(9, 30, 15));

double Days(int y, int m, int d) {
    return double(QDate(1899, 12, 30).daysTo(QDate(y, m, d)));
}

class EngineTest : public TDataFileTest {
protected:
    void SetUp() override {
        TDataFileTest::SetUp();
        SetNow(kNow);
    }
    QString One(const QString& sql) {
        const QStringList rows = Rows(sql);
        return rows.isEmpty() ? QStringLiteral("<no row>") : rows.first();
    }
    void AddGoods(const QString& guid, int type, const QString& code, const QString& name) {
        ExecSql(
            QStringLiteral("insert into Customer(GUID,TypeID,商品编号,商品名称) values ('%1',%2,'%3','%4')")
                .arg(guid)
                .arg(type)
                .arg(QuotedSql(code), QuotedSql(name)));
    }
};

struct ExprCase {
    const char* expr;
    const char* expected;
};

// Expressions evaluated in "select <expr> from SysSet" (one row) at 2024-03-05 09:30:15.
const ExprCase kExpressions[] = {
    {"'a'+'b'", "ab"},
    {"'a' + 'b' + 'c'", "abc"},
    {"1+2", "3"},
    {"1+2*3", "7"},
    {"(1+2)*3", "9"},
    {"10-2-3", "5"},
    {"10-2+3", "11"},
    {"'5'+1", "6"},
    {"Null+'a'", ""},
    {"'a'+Null", ""},
    {"7/2", "3.5"},
    {"'x' & Null & 'y'", "xy"},
    {"Date()", "45356"},
    {"Date()+1", "45357"},
    {"date()-1", "45355"},
    {"DATE() + 1 - 1", "45356"},
    {"Hour(Time())", "9"},
    {"Minute(Time())", "30"},
    {"minute(time())+1", "31"},
    {"WeekDay(Date())", "3"},
    {"WeekDay(date()-1)", "2"},
    {"Day(Date())", "5"},
    {"Format(Date(),'YYYY-MM-DD')", "2024-03-05"},
    {"Format(Now(),'yyyy-mm-dd hh:nn:ss')", "2024-03-05 09:30:15"},
    {"Str(9)", " 9"},
    {"Str(-3)", "-3"},
    {"Str(0)", " 0"},
    {"Str(12.5)", " 12.5"},
    {"Str(9)+'时'+Str(30)+'分'", " 9时 30分"},
    {"IIf(1=1,'yes','no')", "yes"},
    {"iif(1=0,'yes',iif(2=2,'inner','no'))", "inner"},
    {"IIF(bPass,'on','off')", "off"},
    {"IIf(-1,'true','false')", "true"},
    {"true", "-1"},
    {"false", "0"},
    {"\"dq\" + 'x'", "dqx"},
    {"'it''s'", "it's"},
    {"Len('abc')", "3"},
    {"Mid('abcdef',2,3)", "bcd"},
    {"Left('abcdef',2)+Right('abcdef',2)", "abef"},
    {"UCase('ab')", "AB"},
    {"Nz(Null,'z')", "z"},
    {"#2024-01-02#", "45293"},
};

} // namespace

class ExpressionTest : public EngineTest, public ::testing::WithParamInterface<ExprCase> {};

TEST_P(ExpressionTest, EvaluatesAsJetDoes) {
    const ExprCase& c = GetParam();
    EXPECT_EQ(One(QStringLiteral("select %1 from SysSet").arg(QString::fromUtf8(c.expr))),
              QString::fromUtf8(c.expected))
        << c.expr << " -> " << TranslateJetSql(QString::fromUtf8(c.expr)).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Dialect, ExpressionTest, ::testing::ValuesIn(kExpressions));

TEST_F(EngineTest, DayNumbersCountFrom1899) {
    EXPECT_EQ(Days(2024, 3, 5), 45356.0);
    EXPECT_EQ(DateTimeToDays(QDateTime(QDate(1899, 12, 30), QTime(12, 0))), 0.5);
    EXPECT_EQ(DaysToDateTime(45356.75), QDateTime(QDate(2024, 3, 5), QTime(18, 0)));
    EXPECT_EQ(DaysToText(45356), QStringLiteral("2024-03-05"));
    EXPECT_EQ(DaysToText(45356.5), QStringLiteral("2024-03-05 12:00:00"));
    EXPECT_EQ(NumberToText(5), QStringLiteral("5"));
    EXPECT_EQ(NumberToText(12.5), QStringLiteral("12.5"));
    EXPECT_EQ(NumberToText(0.1), QStringLiteral("0.1"));
}

TEST_F(EngineTest, TopReturnsAtMostNRows) {
    for (int i = 0; i < 5; ++i)
        AddGoods(QStringLiteral("G%1").arg(i), 0, QStringLiteral("C%1").arg(i), QStringLiteral("N"));
    EXPECT_EQ(Rows(QStringLiteral("select top 2 商品编号 from Customer order by 商品编号 desc")),
              (QStringList{QStringLiteral("C4"), QStringLiteral("C3")}));
    EXPECT_EQ(Rows(QStringLiteral("select DISTINCT top 1 商品名称 from Customer")),
              QStringList{QStringLiteral("N")});
    EXPECT_EQ(
        Rows(QStringLiteral("select 商品编号 from Customer where GUID in (select top 1 GUID from Customer "
                            "order by GUID) ")),
        QStringList{QStringLiteral("C0")});
    EXPECT_EQ(Rows(QStringLiteral("select top 10 商品编号 from Customer")).size(), 5);
}

TEST_F(EngineTest, NamesCompareWithoutCaseAndBracketsWork) {
    AddGoods(QStringLiteral("G1"), 0, QStringLiteral("C1"), QStringLiteral("N1"));
    EXPECT_EQ(One(QStringLiteral("select typename from customertype where Selfindex=0 ")),
              QStringLiteral("未分组"));
    EXPECT_EQ(One(QStringLiteral("select [GUID],[商品编号] from CUSTOMER where [guid]='G1'")),
              QStringLiteral("G1|C1"));
    ExecSql(QStringLiteral("update SysSet set bPass='-1',[PassWord]='x' "));
    EXPECT_EQ(One(QStringLiteral("select bPass,PassWord from SysSet")), QStringLiteral("-1|x"));
}

TEST_F(EngineTest, GoodsListJoinKeepsGroupRowAndAliases) {
    ExecSql(QStringLiteral("insert into Customertype(SelfIndex,ParentIndex,TypeName) values (1,0,'饮料')"));
    AddGoods(QStringLiteral("G1"), 1, QStringLiteral("C1"), QStringLiteral("可乐"));
    AddGoods(QStringLiteral("G2"), 0, QStringLiteral("C2"), QStringLiteral("无组"));
    AddGoods(QStringLiteral("G3"), 7, QStringLiteral("C3"), QStringLiteral("孤儿"));
    gDbAccess->OpenQuery(
        QStringLiteral("select a.GUID,b.TypeName as 所属分组,商品编号,商品名称,库存,备注 from "
                       "Customer a, CustomerType b  where a.TypeID=b.SelfIndex  and 商品名称 like "
                       "'%%' order by 商品编号"));
    EXPECT_EQ(gDbAccess->QueryData->FieldNames(),
              (QStringList{QStringLiteral("GUID"), QStringLiteral("所属分组"), QStringLiteral("商品编号"),
                           QStringLiteral("商品名称"), QStringLiteral("库存"), QStringLiteral("备注")}));
    EXPECT_EQ(Rows(gDbAccess->QueryData->CommandText),
              (QStringList{QStringLiteral("G1|饮料|C1|可乐|0|"), QStringLiteral("G2|未分组|C2|无组|0|")}));
}

TEST_F(EngineTest, ColumnDefaultsAndCounters) {
    AddGoods(QStringLiteral("G1"), 0, QStringLiteral("C1"), QStringLiteral("N1"));
    ExecSql(QStringLiteral("insert into StorIn ([GUID],SL) values ('G1',5) "));
    ExecSql(QStringLiteral("update Customer set 库存=库存+5 where [GUID]='G1' "));
    EXPECT_EQ(One(QStringLiteral("select 库存 from Customer")), QStringLiteral("5"));
    EXPECT_EQ(One(QStringLiteral("select CreateDate, SL from StorIn")),
              QStringLiteral("2024-03-05 09:30:15|5"));
    ExecSql(QStringLiteral("insert into Alam(iHour,iMinute,iMonWeek,ReDay,AlamDate,Remark) values "
                           "(9,30,2,0,'2024-03-05','a')"));
    ExecSql(QStringLiteral("insert into Alam(iHour,iMinute,iMonWeek,ReDay,AlamDate,Remark) values "
                           "(9,30,2,0,'2024-03-06','b')"));
    EXPECT_EQ(Rows(QStringLiteral("select ID,bLook,AlamDate from Alam order by ID")),
              (QStringList{QStringLiteral("1|0|2024-03-05"), QStringLiteral("2|0|2024-03-06")}));
    gDbAccess->OpenQuery(QStringLiteral("select bLook from Alam"));
    EXPECT_FALSE(gDbAccess->QueryData->Fields(0).AsBoolean());
}

TEST_F(EngineTest, QuotedTextIntoDateNumberAndBooleanColumns) {
    // The user's short date form is accepted as well as YYYY-MM-DD.
    const QString shortDate = QLocale::system().toString(QDate(2024, 3, 7), QLocale::ShortFormat);
    ExecSql(QStringLiteral("insert into Alam(iHour,iMinute,iMonWeek,ReDay,AlamDate,Remark) values "
                           "('8','5','1','0','%1','x')")
                .arg(shortDate));
    gDbAccess->OpenQuery(QStringLiteral("select AlamDate,iHour,iMinute,AlamDate=Date()+2 from Alam"));
    EXPECT_EQ(gDbAccess->QueryData->Fields(0).AsDateTime(), QDateTime(QDate(2024, 3, 7), QTime(0, 0)));
    EXPECT_EQ(gDbAccess->QueryData->Fields(1).AsInteger(), 8);
    EXPECT_EQ(gDbAccess->QueryData->Fields(3).AsInteger(), 1);
    ExecSql(QStringLiteral("update Alam set AlamDate='2024-12-31',bLook='-1' where ID=1"));
    EXPECT_EQ(One(QStringLiteral("select AlamDate,bLook from Alam")), QStringLiteral("2024-12-31|-1"));
    gDbAccess->OpenQuery(QStringLiteral("select bLook from Alam"));
    EXPECT_TRUE(gDbAccess->QueryData->Fields(0).AsBoolean());
    EXPECT_THROW(ExecSql(QStringLiteral("update Alam set AlamDate='not a date' where ID=1")), EDBException);
    // history periods compare with plain day numbers
    ExecSql(QStringLiteral("insert into StorIn ([GUID],SL) values ('G',1) "));
    EXPECT_EQ(One(QStringLiteral("select count(*) from StorIn where CreateDate>=45356 and CreateDate<45357")),
              QStringLiteral("1"));
}

TEST_F(EngineTest, ReminderListStatementGivesItsTimeTexts) {
    const QString insert =
        QStringLiteral("insert into Alam(iHour,iMinute,iMonWeek,ReDay,AlamDate,Remark) values "
                       "(%1,%2,%3,%4,'2024-03-05','r%4')");
    ExecSql(insert.arg(9).arg(30).arg(1).arg(0));
    ExecSql(insert.arg(9).arg(30).arg(1).arg(1));
    ExecSql(insert.arg(14).arg(5).arg(3).arg(2));
    ExecSql(insert.arg(0).arg(0).arg(15).arg(3));
    ExecSql(QStringLiteral("update Alam set bLook=1 where ID=2"));
    const QString sql = QStringLiteral(
        "select ID,IIf(ReDay=0,'仅一次',IIf(ReDay=1,'每天',IIf(ReDay=2,'每周','每月'))),  "
        "IIf(ReDay=0,Format(AlamDate,'YYYY-MM-DD')+' '+Str(iHour)+'时'+Str(iMinute)+'分',  "
        "IIf(ReDay=1,Str(iHour)+'时'+Str(iMinute)+'分',  IIF(ReDay=2,'每周'+Str(iMonWeek)+' "
        "'+Str(iHour)+'时'+"
        "Str(iMinute)+'分',  '每月'+Str(iMonWeek)+'号 '+Str(iHour)+'时'+Str(iMinute)+'分' ))),  "
        "Remark,IIF(bLook,'看过的','') from  Alam where 1=1   ");
    EXPECT_EQ(Rows(sql), (QStringList{QStringLiteral("1|仅一次|2024-03-05  9时 30分|r0|"),
                                      QStringLiteral("2|每天| 9时 30分|r1|看过的"),
                                      QStringLiteral("3|每周|每周 3  14时 5分|r2|"),
                                      QStringLiteral("4|每月|每月 15号  0时 0分|r3|")}));
}

TEST_F(EngineTest, ReminderCheckStatementFindsDueReminders) {
    // 2024-03-05 is a Tuesday: Monday = 1 in iMonWeek, and WeekDay(date()-1) counts Monday as 2 - 1 ... as
    // stored
    const QString insert =
        QStringLiteral("insert into Alam(iHour,iMinute,iMonWeek,ReDay,AlamDate,Remark) values "
                       "(%1,%2,%3,%4,'%5','%6')");
    ExecSql(
        insert.arg(9).arg(30).arg(0).arg(0).arg(QStringLiteral("2024-03-05"), QStringLiteral("once-today")));
    ExecSql(insert.arg(9).arg(30).arg(0).arg(0).arg(QStringLiteral("2024-03-06"),
                                                    QStringLiteral("once-tomorrow")));
    ExecSql(insert.arg(9).arg(30).arg(0).arg(1).arg(QStringLiteral("2020-01-01"), QStringLiteral("daily")));
    ExecSql(
        insert.arg(9).arg(30).arg(2).arg(2).arg(QStringLiteral("2020-01-01"), QStringLiteral("weekly-tue")));
    ExecSql(
        insert.arg(9).arg(30).arg(3).arg(2).arg(QStringLiteral("2020-01-01"), QStringLiteral("weekly-wed")));
    ExecSql(
        insert.arg(9).arg(30).arg(5).arg(3).arg(QStringLiteral("2020-01-01"), QStringLiteral("monthly-5")));
    ExecSql(
        insert.arg(9).arg(31).arg(0).arg(1).arg(QStringLiteral("2020-01-01"), QStringLiteral("daily-later")));
    const QString sql = QStringLiteral(
        "select ID,ReDay,Remark from Alam  where Hour(Time())=iHour and Minute(Time())=iMinute  and "
        "((AlamDate=Date() and ReDay=0) or (ReDay=1) or   (ReDay=2 and WeekDay(date()-1)=iMonWeek ) or  "
        "(ReDay=3 and Day(Date())=iMonWeek ) ) ");
    EXPECT_EQ(Rows(sql), (QStringList{QStringLiteral("1|0|once-today"), QStringLiteral("3|1|daily"),
                                      QStringLiteral("4|2|weekly-tue"), QStringLiteral("6|3|monthly-5")}));
    EXPECT_EQ(QueryInt(QStringLiteral("select count(ID) from Alam where ID=%1 and  AlamDate<=Date() and "
                                      "Hour(Time())>iHour and bLook=0 and ReDay = 0")
                           .arg(1)),
              0);
    SetNow(QDateTime(QDate(2024, 3, 5), QTime(11, 0)));
    EXPECT_EQ(QueryInt(QStringLiteral("select count(ID) from Alam where ID=%1 and  AlamDate<=Date() and "
                                      "Hour(Time())>iHour and bLook=0 and ReDay = 0")
                           .arg(1)),
              1);
}

TEST_F(EngineTest, AlterTableAddsExactlyTheNamedColumn) {
    AddGoods(QStringLiteral("G1"), 0, QStringLiteral("C1"), QStringLiteral("N1"));
    ExecSql(QStringLiteral("alter table Customer add 颜色 varchar(100)"));
    ExecSql(QStringLiteral("update Customer set 颜色='红'"));
    EXPECT_EQ(One(QStringLiteral("select 颜色 from Customer")), QStringLiteral("红"));
    // a name with a blank would silently become another column: refused
    EXPECT_THROW(ExecSql(QStringLiteral("alter table Customer add 商品 颜色 varchar(100)")), EDBException);
    EXPECT_THROW(ExecSql(QStringLiteral("alter table Customer add 尺码 varchar(100) 多余")), EDBException);
    gDbAccess->OpenQuery(QStringLiteral("select * from Customer"));
    EXPECT_EQ(gDbAccess->QueryData->FindField(QStringLiteral("商品")), -1);
    // the rename batch: add, copy, drop (with and without the COLUMN word)
    ExecSql(QStringLiteral("alter table Customer add 色彩 varchar(100)@#@update Customer set 色彩=[颜色] @#@"
                           "alter table Customer drop COLUMN 颜色 "));
    EXPECT_EQ(One(QStringLiteral("select 色彩 from Customer")), QStringLiteral("红"));
    ExecSql(QStringLiteral("alter table Customer drop 色彩  "));
    gDbAccess->OpenQuery(QStringLiteral("select * from Customer"));
    EXPECT_EQ(gDbAccess->QueryData->FindField(QStringLiteral("色彩")), -1);
}

TEST_F(EngineTest, APieceHoldingTwoStatementsIsRefused) {
    AddGoods(QStringLiteral("G1"), 0, QStringLiteral("C1"), QStringLiteral("N1"));
    try {
        ExecSql(QStringLiteral("delete from Customer@#@update SysSet set bPass=0; delete from AppTitle"));
        FAIL() << "no exception";
    } catch (const EDBException& e) {
        EXPECT_EQ(e.UserMsg, QStringLiteral("数据库操作失败！"));
    }
    EXPECT_EQ(QueryInt(QStringLiteral("select count(*) from Customer")), 1);
    // a trailing semicolon alone is fine
    ExecSql(QStringLiteral("update SysSet set bPass=0;"));
}

TEST_F(EngineTest, TextFormsOfValues) {
    ExecSql(QStringLiteral("insert into StorOk ([GUID],SL,Oldsl) values ('G',12.5,3) "));
    gDbAccess->OpenQuery(QStringLiteral("select SL,Oldsl,CreateDate,Null from StorOk"));
    TResultSet* rs = gDbAccess->QueryData;
    EXPECT_EQ(rs->Fields(0).AsString(), QStringLiteral("12.5"));
    EXPECT_EQ(rs->Fields(1).AsString(), QStringLiteral("3"));
    EXPECT_EQ(rs->Fields(2).AsString(), QStringLiteral("2024-03-05 09:30:15"));
    EXPECT_EQ(rs->Fields(3).AsString(), QString());
    EXPECT_TRUE(rs->Fields(3).IsNull());
    EXPECT_EQ(rs->Fields(0).AsCurrency().ToString(), QStringLiteral("12.5"));
    EXPECT_EQ(rs->Fields(2).AsDateTime(), kNow);
}

TEST_F(EngineTest, CurrencySumsAreExact) {
    ExecSql(QStringLiteral("alter table Customer add 价格 varchar(100)"));
    ExecSql(QStringLiteral("insert into Customer(GUID,TypeID,价格) values ('a',0,'0.1')@#@"
                           "insert into Customer(GUID,TypeID,价格) values ('b',0,'0.2')"));
    gDbAccess->OpenQuery(QStringLiteral("select 价格 from Customer"));
    TCurrency sum;
    for (TResultSet* rs = gDbAccess->QueryData; !rs->Eof(); rs->Next())
        sum += rs->FieldByName(QStringLiteral("价格")).AsCurrency();
    EXPECT_EQ(sum.ToString(), QStringLiteral("0.3"));
    TCurrency parsed;
    ASSERT_TRUE(TCurrency::TryParse(QStringLiteral("-1.23456"), parsed));
    EXPECT_EQ(parsed.Units(), -12346);
    EXPECT_FALSE(TCurrency::TryParse(QStringLiteral("abc"), parsed));
}

TEST_F(EngineTest, ResultSetNavigationAndFields) {
    for (int i = 0; i < 3; ++i)
        AddGoods(QStringLiteral("G%1").arg(i), i, QStringLiteral("C%1").arg(i),
                 QStringLiteral("N%1").arg(2 - i));
    gDbAccess->OpenQuery(QStringLiteral("select GUID,TypeID,商品名称 from Customer order by GUID"));
    TResultSet* rs = gDbAccess->QueryData;
    EXPECT_EQ(rs->RecordCount(), 3);
    EXPECT_EQ(rs->RecNo(), 1);
    EXPECT_EQ(rs->FieldByName(QStringLiteral("guid")).AsString(), QStringLiteral("G0"));
    rs->Next();
    EXPECT_EQ(rs->Fields(1).AsInteger(), 1);
    EXPECT_EQ(rs->RecNo(), 2);
    rs->Next();
    rs->Next();
    EXPECT_TRUE(rs->Eof());
    EXPECT_THROW(rs->Fields(0).AsString(), EEngineError);
    EXPECT_THROW(rs->FieldByName(QStringLiteral("nope")), EEngineError);
    rs->First();
    rs->SetSort(QStringLiteral("商品名称 DESC"));
    EXPECT_EQ(rs->Text(0, 2), QStringLiteral("N2"));
    rs->SetSort(QStringLiteral("商品名称"));
    EXPECT_EQ(rs->Text(0, 0), QStringLiteral("G2"));
    // the current row stays the same record after a sort
    EXPECT_EQ(rs->FieldByName(QStringLiteral("GUID")).AsString(), QStringLiteral("G0"));
    EXPECT_EQ(rs->RecNo(), 3);
    // re-running keeps the order asked for and shows new rows
    AddGoods(QStringLiteral("G9"), 0, QStringLiteral("C9"), QStringLiteral("N9"));
    rs->Requery();
    EXPECT_EQ(rs->RecordCount(), 4);
    EXPECT_EQ(rs->Text(3, 0), QStringLiteral("G9"));
}

TEST_F(EngineTest, UpdatableResultAppendsAndEditsWithBoundValues) {
    gDbAccess->OpenQuery(QStringLiteral("select * from NoteBook where 1<> 1 "));
    TResultSet* rs = gDbAccess->QueryData;
    rs->Append();
    rs->SetFieldValue(QStringLiteral("TypeID"), 3);
    rs->SetFieldValue(QStringLiteral("ReMark"), QStringLiteral("it's '); drop table NoteBook; --"));
    rs->Post();
    EXPECT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(Rows(QStringLiteral("select TypeID,ReMark from NoteBook")),
              QStringList{QStringLiteral("3|it's '); drop table NoteBook; --")});
    gDbAccess->OpenQuery(QStringLiteral("select * from NoteBook where TypeID=3 "));
    rs->Edit();
    rs->SetFieldValue(QStringLiteral("ReMark"), QStringLiteral("第二版"));
    rs->Post();
    EXPECT_EQ(rs->FieldByName(QStringLiteral("ReMark")).AsString(), QStringLiteral("第二版"));
    rs->Edit();
    rs->SetFieldValue(QStringLiteral("ReMark"), QString());
    rs->Post();
    EXPECT_EQ(Rows(QStringLiteral("select TypeID,ReMark from NoteBook")), QStringList{QStringLiteral("3|")});
    // a join is not updatable
    gDbAccess->OpenQuery(QStringLiteral("select a.GUID, b.TypeName from Customer a, CustomerType b"));
    rs->Append();
    EXPECT_THROW(rs->Post(), EEngineError);
    rs->Cancel();
    // setting a field outside edit mode is refused
    EXPECT_THROW(rs->SetFieldValue(QStringLiteral("GUID"), QStringLiteral("x")), EEngineError);
}

TEST_F(EngineTest, StampsAppendedRowsWithDefaults) {
    gDbAccess->OpenQuery(QStringLiteral("select * from StorIn where 1<>1"));
    gDbAccess->QueryData->Append();
    gDbAccess->QueryData->SetFieldValue(QStringLiteral("GUID"), QStringLiteral("G"));
    gDbAccess->QueryData->SetFieldValue(QStringLiteral("SL"), 4);
    gDbAccess->QueryData->Post();
    EXPECT_EQ(gDbAccess->QueryData->FieldByName(QStringLiteral("CreateDate")).AsDateTime(), kNow);
}

TEST_F(EngineTest, CompactedCopyOpensWithThePassword) {
    AddGoods(QStringLiteral("G1"), 0, QStringLiteral("C1"), QStringLiteral("N1"));
    const QString copy = Dir() + QStringLiteral("~CP1.tmp");
    gDbAccess->Connection->CompactInto(copy);
    TDatabase other;
    other.Open(copy, DatabasePassword());
    TResultSet rs(&other);
    rs.Open(QStringLiteral("select 商品编号 from Customer"));
    EXPECT_EQ(rs.Fields(0).AsString(), QStringLiteral("C1"));
    other.Close();
    EXPECT_THROW(other.Open(copy, QStringLiteral("wrong")), EEngineError);
}

TEST_F(EngineTest, ClosingTheConnectionClosesResultSets) {
    gDbAccess->OpenQuery(QStringLiteral("select * from SysSet"));
    EXPECT_TRUE(gDbAccess->QueryData->Active());
    gDbAccess->Connection->Close();
    EXPECT_FALSE(gDbAccess->QueryData->Active());
    EXPECT_EQ(gDbAccess->QueryData->RecordCount(), 0);
    EXPECT_THROW(gDbAccess->OpenQuery(QStringLiteral("select * from SysSet")), EDBException);
}

TEST(JetSqlTranslation, RewritesOnlyWhatSQLiteReadsDifferently) {
    EXPECT_EQ(TranslateJetSql(QStringLiteral("select * from Customer where 1=1 ")),
              QStringLiteral("select * from Customer where 1=1 "));
    EXPECT_EQ(TranslateJetSql(QStringLiteral("select count(*) from Alam ")),
              QStringLiteral("select count(*) from Alam "));
    EXPECT_THROW(TranslateJetSql(QStringLiteral("select 'open")), EEngineError);
    EXPECT_THROW(TranslateJetSql(QStringLiteral("select [open from x")), EEngineError);
}
