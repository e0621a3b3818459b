#include "common/UException.h"
#include "data/MD.h"
#include "fields/UntTitle.h"
#include "support/TestFixture.h"

namespace {

// Runs f and returns the message it raised ("" when it raised nothing).
template <class F> QString RaisedMessage(F&& f) {
    try {
        f();
    } catch (const EDBException& e) {
        return QStringLiteral("DB:") + e.UserMsg;
    } catch (const EAppError& e) {
        return e.Message();
    }
    return QString();
}

TTitleDef Def(const QString& name, int type = tkText, const QString& values = QString(), bool bt = false,
              bool wy = false) {
    return {name, type, values, bt, wy};
}

} // namespace

// ---- option lists --------------------------------------------------------------------------------------

TEST(TitleOptions, DecodeTable) {
    struct Case {
        QString text;
        QStringList options;
    } cases[] = {
        {"", {}},
        {"A%#%B%#%", {"A", "B"}},
        {"A%#%%#%B%#%", {"A", "", "B"}},
        {"%#%", {""}},
        {"A%#%B", {"A"}}, // the text after the last separator yields no option
        {"no separator", {}},
        {"O'Neil%#%5''%#%", {"O'Neil", "5''"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeTitleOptions(c.text), c.options) << c.text.toStdString();
}

TEST(TitleOptions, EncodeAndBoxLinesTable) {
    struct Case {
        QString box;       // text of the option box
        QStringList lines; // lines it holds
        QString stored;    // TitleValues written
    } cases[] = {
        {"", {}, ""},
        {"A\nB", {"A", "B"}, "A%#%B%#%"},
        {"A\nB\n", {"A", "B"}, "A%#%B%#%"},
        {"A\n\nB", {"A", "", "B"}, "A%#%%#%B%#%"},
        {"\n", {""}, "%#%"},
        {"A\r\n\r\nB", {"A", "", "B"}, "A%#%%#%B%#%"},
        {"A\n\n", {"A", ""}, "A%#%%#%"},
    };
    for (const Case& c : cases) {
        const QStringList lines = TitleLinesFromText(c.box);
        EXPECT_EQ(lines, c.lines) << c.box.toStdString();
        EXPECT_EQ(EncodeTitleOptions(lines), c.stored) << c.box.toStdString();
        // Loading the stored list into the box and saving again gives the same list.
        EXPECT_EQ(EncodeTitleOptions(TitleLinesFromText(TitleTextFromLines(DecodeTitleOptions(c.stored)))),
                  c.stored)
            << c.box.toStdString();
    }
}

TEST(TitleKinds, NamesAndDescriptions) {
    EXPECT_EQ(TitleKindNames(),
              (QStringList{"标准文本框", "标准下拉框", "记忆下拉框", "日期选择框", "数字文本框"}));
    EXPECT_EQ(TitleKindName(7), QStringLiteral("7"));
    EXPECT_EQ(TitleKindDescription(4),
              QStringLiteral("只可以输入数字信息，并可以在浏览信息的内容时自动汇总该字段"));
    EXPECT_TRUE(TitleKindDescription(5).isEmpty());
}

TEST(TitleDates, DefaultValueTable) {
    const QDate today(2024, 3, 15);
    EXPECT_EQ(TitleDateValue("date()", today), today);
    EXPECT_EQ(TitleDateValue("2023-12-01", today), QDate(2023, 12, 1));
    EXPECT_EQ(TitleDateValue("kein Datum", today), today);
    EXPECT_EQ(TitleDateValue("", today), today);
    EXPECT_EQ(EncodeTitleDate(true, QDate(2020, 1, 2)), QStringLiteral("date()"));
    EXPECT_EQ(EncodeTitleDate(false, QDate(2020, 1, 2)), QStringLiteral("2020-01-02"));
}

// ---- the editor's names and batches ---------------------------------------------------------------------

class TitleEditorTest : public TDataFileTest {};

TEST_F(TitleEditorTest, NewModeNameTable) {
    SaveNewTitle(Def("颜色"));
    messages.Clear();
    const QString ident = QStringLiteral("标题名称只能包含文字、字母、数字和下划线，且不能以数字开头！");
    struct Case {
        QString name;
        QString message; // "" = saved
    } cases[] = {
        {"姓名", "标题名称不能填 姓名！"},
        {"所属分组", "标题名称不能填  所属分组！"},
        {"手机号码", "标题名称不能填  手机号码！"},
        {"新建时间", "标题名称不能填  新建时间！"},
        {"备注", "标题名称不能填  备注！"},
        {" 备注", "DB:数据库操作失败！"}, // passes the checks, then the column exists already
        {"颜色", "标题名称不能重复！"},
        {"商品编号", "DB:数据库操作失败！"},
        {"a b", ident},
        {"O'Neil", ident},
        {"x[1]", ident},
        {"a-b", ident},
        {"a+b", ident},
        {"1abc", ident},
        {"TypeName", "标题名称不能与分组字段同名！"},
        {"selfindex", "标题名称不能与分组字段同名！"},
        {"产地_2", ""},
        {"  规格  ", ""}, // stored trimmed
    };
    for (const Case& c : cases)
        EXPECT_EQ(RaisedMessage([&] { SaveNewTitle(Def(c.name)); }), c.message) << c.name.toStdString();
    EXPECT_EQ(Rows("select TitleName from AppTitle"), (QStringList{"颜色", "产地_2", "规格"}));
    ExecSql("insert into Customer([GUID],产地_2,规格) values ('G1','x','y')");
    EXPECT_EQ(Rows("select 产地_2,规格 from Customer"), QStringList{"x|y"});
}

TEST_F(TitleEditorTest, NewBatchText) {
    EXPECT_EQ(NewTitleBatch(Def(" 尺码 ", tkList, "O'Neil%#%5''%#%", true, false)),
              QStringLiteral(
                  "insert into AppTitle(TitleName,TitleType,TitleValues,Titlebt,Titlewy) values "
                  "('尺码',1,'O''Neil%#%5''''%#%','-1','0')@#@alter table Customer add 尺码 varchar(100)"));
    SaveNewTitle(Def("尺码", tkList, "O'Neil%#%5''%#%", true, true));
    TTitleDef d;
    ASSERT_TRUE(LoadTitle("尺码", d));
    EXPECT_EQ(d.Values, QStringLiteral("O'Neil%#%5''%#%"));
    EXPECT_EQ(d.Type, tkList);
    EXPECT_TRUE(d.Required);
    EXPECT_TRUE(d.Unique);
    EXPECT_EQ(DecodeTitleOptions(d.Values), (QStringList{"O'Neil", "5''"}));
}

TEST_F(TitleEditorTest, ChangeModeNameTable) {
    SaveNewTitle(Def("颜色"));
    SaveNewTitle(Def("产地"));
    const QString ident = QStringLiteral("标题名称只能包含文字、字母、数字和下划线，且不能以数字开头！");
    struct Case {
        QString name;
        QString message;
    } cases[] = {
        {"", ident}, // the dialog stops an empty name earlier; the rule still refuses it
        {"备注", "标题名称不能填  备注！"},
        {"姓名", "标题名称不能填 姓名！"},
        {" 颜色", ident}, // change mode takes the name untrimmed
        {"颜 色", ident},
        {"颜'色", ident},
        {"产地", "DB:数据库操作失败！"}, // the other field's column exists: rolled back
    };
    for (const Case& c : cases)
        EXPECT_EQ(RaisedMessage([&] { SaveModTitle(Def(c.name), "颜色"); }), c.message)
            << c.name.toStdString();
    EXPECT_EQ(Rows("select TitleName from AppTitle"), (QStringList{"颜色", "产地"}));
}

TEST_F(TitleEditorTest, RenameKeepsEveryValue) {
    SaveNewTitle(Def("颜色", tkText, "红"));
    ExecSql("insert into Customer([GUID],TypeID,颜色) values ('G1',0,'红')@#@"
            "insert into Customer([GUID],TypeID,颜色) values ('G2',0,'O''Neil')@#@"
            "insert into Customer([GUID],TypeID) values ('G3',0)");
    const QString batch = ModTitleBatch(Def("色彩", tkText, "蓝"), "颜色");
    EXPECT_EQ(
        batch,
        QStringLiteral("update AppTitle set TitleName='色彩',TitleType=0,TitleValues='蓝',Titlebt='0',"
                       "Titlewy='0'  where  TitleName='颜色'  @#@alter table Customer add 色彩 "
                       "varchar(100)@#@update Customer set 色彩=[颜色] @#@alter table Customer drop 颜色  "));
    SaveModTitle(Def("色彩", tkText, "蓝"), "颜色");
    EXPECT_EQ(Rows("select [GUID],色彩 from Customer order by [GUID]"),
              (QStringList{"G1|红", "G2|O'Neil", "G3|"}));
    EXPECT_EQ(RaisedMessage([&] { Rows("select 颜色 from Customer"); }), "DB:数据库查询错误，请检查！");
    EXPECT_EQ(Rows("select TitleName,TitleValues from AppTitle"), QStringList{"色彩|蓝"});
}

TEST_F(TitleEditorTest, KindChangeIsOneUpdate) {
    SaveNewTitle(Def("数量", tkText, "abc"));
    ExecSql("insert into Customer([GUID],TypeID,数量) values ('G1',0,'12')");
    const QString batch = ModTitleBatch(Def("数量", tkNumber, "0", true, true), "数量");
    EXPECT_FALSE(batch.contains(QLatin1String(BatchSeparator)));
    EXPECT_EQ(batch,
              QStringLiteral("update AppTitle set TitleName='数量',TitleType=4,TitleValues='0',Titlebt='-1',"
                             "Titlewy='-1'  where  TitleName='数量'  "));
    SaveModTitle(Def("数量", tkNumber, "0", true, true), "数量");
    EXPECT_EQ(Rows("select TitleName,TitleType,TitleValues from AppTitle"), QStringList{"数量|4|0"});
    EXPECT_EQ(Rows("select 数量 from Customer"), QStringList{"12"});
    TTitleDef d;
    ASSERT_TRUE(LoadTitle("数量", d));
    EXPECT_TRUE(d.Required && d.Unique);
}

TEST_F(TitleEditorTest, OldNameWithQuoteInWhereClause) {
    // A definition written by an older version may carry a quote; its where clause must still match.
    ExecSql("insert into AppTitle(TitleName,TitleType,TitleValues,Titlebt,Titlewy) values "
            "('it''s',0,'','0','0')");
    EXPECT_TRUE(ModTitleBatch(Def("its"), "it's").contains(QStringLiteral("where  TitleName='it''s'")));
    EXPECT_TRUE(RemoveTitleBatch("it's").endsWith(QStringLiteral("where titleName='it''s' ")));
}

TEST_F(TitleEditorTest, RemoveDropsColumnAndDefinition) {
    SaveNewTitle(Def("颜色"));
    SaveNewTitle(Def("产地"));
    ExecSql("insert into Customer([GUID],TypeID,颜色,产地) values ('G1',0,'红','北京')");
    EXPECT_EQ(RemoveTitleBatch("颜色"),
              QStringLiteral(
                  "alter table Customer drop COLUMN 颜色 @#@delete from Apptitle where titleName='颜色' "));
    RemoveTitle("颜色");
    EXPECT_EQ(Rows("select TitleName from AppTitle"), QStringList{"产地"});
    EXPECT_EQ(Rows("select [GUID],产地 from Customer"), QStringList{"G1|北京"});
    EXPECT_EQ(RaisedMessage([&] { Rows("select 颜色 from Customer"); }), "DB:数据库查询错误，请检查！");
}

TEST_F(TitleEditorTest, NameListInStoredOrder) {
    EXPECT_EQ(TitleNameList(), QString());
    for (const char* n : {"乙", "甲", "丙"})
        SaveNewTitle(Def(n));
    EXPECT_EQ(TitleNameList(), QStringLiteral("乙,甲,丙"));
}

TEST_F(TitleEditorTest, FlagsReadBackInListQuery) {
    SaveNewTitle(Def("甲", tkText, "", true, false));
    SaveNewTitle(Def("乙", tkText, "", false, true));
    EXPECT_EQ(Rows("select TitleName,iif(Titlebt,'是','否') ,  iif(Titlewy,'是','否') from AppTitle  "),
              (QStringList{"甲|是|否", "乙|否|是"}));
}
