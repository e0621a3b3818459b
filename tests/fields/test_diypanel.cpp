#include "common/UException.h"
#include "controls/CardFloatIntEdit.h"
#include "data/MD.h"
#include "fields/DIYPanel.h"
#include "fields/UntTitle.h"
#include "support/TestFixture.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace {

template <class F> QString RaisedMessage(F&& f) {
    try {
        f();
    } catch (const EAppError& e) {
        return e.Message();
    }
    return QString();
}

} // namespace

class DIYPanelTest : public TDataFileTest {
protected:
    void AddField(const QString& name, int type, const QString& values = QString(), bool bt = false,
                  bool wy = false) {
        SaveNewTitle({name, type, values, bt, wy});
    }
    template <class T> T* Ctrl(int n) { return container.findChild<T*>(QStringLiteral("Ctrl%1").arg(n)); }
    QLabel* Label(int n) { return container.findChild<QLabel*>(QStringLiteral("Label%1").arg(n)); }
    QWidget container;
};

TEST_F(DIYPanelTest, NoDefinitionsLeaveTheContainerEmpty) {
    TDIYPanel::Build(&container);
    EXPECT_TRUE(container.children().isEmpty());
    QString cols = "x", vals = "y";
    TDIYPanel::InsertLists(&container, cols, vals);
    EXPECT_EQ(cols, QString());
    EXPECT_EQ(vals, QString());
    EXPECT_EQ(TDIYPanel::UpdateList(&container), QString());
}

TEST_F(DIYPanelTest, PositionsOfSevenAndEightFields) {
    for (int n = 1; n <= 8; ++n)
        AddField(QStringLiteral("字段%1").arg(n), tkText);
    TDIYPanel::Build(&container);
    // (row, column) of each field, three to a row, left to right
    const int place[8][2] = {{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}, {2, 0}, {2, 1}};
    for (int n = 1; n <= 8; ++n) {
        const int top = 20 + 38 * place[n - 1][0], left = 2 + 200 * place[n - 1][1];
        QLabel* l = Label(n);
        auto* c = Ctrl<QLineEdit>(n);
        ASSERT_TRUE(l && c) << n;
        EXPECT_EQ(l->text(), QStringLiteral("字段%1").arg(n));
        EXPECT_EQ(l->geometry().topLeft(), QPoint(left, top + 2)) << n;
        EXPECT_EQ(l->width(), 72);
        EXPECT_TRUE(l->alignment() & Qt::AlignRight);
        EXPECT_EQ(c->geometry().topLeft(), QPoint(left + 78, top)) << n;
        EXPECT_EQ(c->width(), 121);
        EXPECT_EQ(TDIYPanel::FieldName(c), QStringLiteral("字段%1").arg(n));
    }
    EXPECT_EQ(Ctrl<QWidget>(9), nullptr);
    // The seventh field opens the third row; the eighth takes its middle place.
    EXPECT_EQ(Ctrl<QWidget>(7)->x(), 80);
    EXPECT_EQ(Ctrl<QWidget>(8)->geometry().topLeft(), QPoint(280, 96));
}

TEST_F(DIYPanelTest, ControlsAndInitialContentByKind) {
    SetNow(QDateTime(QDate(2024, 5, 6), QTime(10, 0)));
    ExecSql(
        "insert into AppTitle(TitleName,TitleType,TitleValues,Titlebt,Titlewy) values ('坏',9,'','0','0')");
    AddField("文本", tkText, "默认");
    AddField("列表", tkList, "O'Neil%#%%#%乙%#%");
    AddField("空列表", tkList, "");
    AddField("记忆", tkMemoryList);
    AddField("记忆二", tkMemoryList);
    AddField("今天", tkDate, "date()");
    AddField("固定", tkDate, "2021-02-03");
    AddField("坏日期", tkDate, "不是日期");
    AddField("数字", tkNumber, "5");
    ExecSql("insert into Customer([GUID],TypeID,记忆,记忆二) values ('G1',0,'甲','x')@#@"
            "insert into Customer([GUID],TypeID,记忆,记忆二) values ('G2',0,'乙','x')@#@"
            "insert into Customer([GUID],TypeID,记忆) values ('G3',0,'甲')");
    TDIYPanel::Build(&container);
    EXPECT_TRUE(Label(1) != nullptr);
    EXPECT_EQ(Ctrl<QWidget>(1), nullptr); // an unknown kind keeps its label only
    EXPECT_EQ(Ctrl<QLineEdit>(2)->text(), QStringLiteral("默认"));
    auto* list = Ctrl<QComboBox>(3);
    ASSERT_TRUE(list);
    EXPECT_TRUE(list->isEditable());
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->itemText(0), QStringLiteral("O'Neil"));
    EXPECT_EQ(list->itemText(1), QString());
    EXPECT_EQ(list->currentText(), QStringLiteral("O'Neil"));
    EXPECT_EQ(Ctrl<QComboBox>(4)->count(), 0);
    auto* memory = Ctrl<QComboBox>(5);
    QStringList opts;
    for (int i = 0; i < memory->count(); ++i)
        opts << memory->itemText(i);
    opts.sort();
    EXPECT_EQ(opts, (QStringList{"乙", "甲"}));
    EXPECT_EQ(memory->currentIndex(), 0);
    EXPECT_EQ(Ctrl<QComboBox>(6)->count(), 2); // 'x' and the record without a value
    EXPECT_EQ(Ctrl<QDateEdit>(7)->date(), QDate(2024, 5, 6));
    EXPECT_EQ(Ctrl<QDateEdit>(8)->date(), QDate(2021, 2, 3));
    EXPECT_EQ(Ctrl<QDateEdit>(9)->date(), QDate(2024, 5, 6));
    auto* number = Ctrl<TCardFloatIntEdit>(10);
    ASSERT_TRUE(number);
    EXPECT_EQ(number->text(), QStringLiteral("5"));
    EXPECT_EQ(number->TextType(), TTextType::FloatText);
    EXPECT_TRUE(number->ZF());
}

TEST_F(DIYPanelTest, ColourFlags) {
    struct Case {
        bool bt, wy;
        QColor color;
    } cases[] = {
        {false, false, QColor()},
        {true, false, QColor(248, 242, 139)},
        {false, true, QColor(137, 239, 234)},
        {true, true, QColor(254, 189, 177)},
    };
    for (int i = 0; i < 4; ++i)
        AddField(QStringLiteral("f%1").arg(i), i % 2 ? tkNumber : tkText, "", cases[i].bt, cases[i].wy);
    TDIYPanel::Build(&container);
    for (int i = 0; i < 4; ++i) {
        QWidget* c = Ctrl<QWidget>(i + 1);
        if (cases[i].color.isValid()) {
            EXPECT_EQ(c->palette().color(QPalette::Base), cases[i].color) << i;
        }
        EXPECT_EQ(TDIYPanel::IsRequired(c), cases[i].bt) << i;
        EXPECT_EQ(TDIYPanel::IsUnique(c), cases[i].wy) << i;
    }
}

TEST_F(DIYPanelTest, RequiredCheck) {
    AddField("名称", tkText, "", true);
    AddField("数量", tkNumber, "", true);
    AddField("日期", tkDate, "", true);
    AddField("选项", tkList, "", true);
    AddField("可空", tkText, "", false);
    TDIYPanel::Build(&container);
    EXPECT_EQ(RaisedMessage([&] { TDIYPanel::CheckRequired(&container); }), QStringLiteral("名称不能为空！"));
    Ctrl<QLineEdit>(1)->setText("  "); // spaces count as content
    EXPECT_EQ(RaisedMessage([&] { TDIYPanel::CheckRequired(&container); }), QStringLiteral("数量不能为空！"));
    Ctrl<QLineEdit>(2)->setText("0");
    EXPECT_EQ(RaisedMessage([&] { TDIYPanel::CheckRequired(&container); }), QStringLiteral("选项不能为空！"));
    Ctrl<QComboBox>(4)->setEditText("自由文本");
    EXPECT_EQ(RaisedMessage([&] { TDIYPanel::CheckRequired(&container); }), QString());
}

TEST_F(DIYPanelTest, UniqueCheckNewAndChangedRecord) {
    SetNow(QDateTime(QDate(2024, 5, 6), QTime(10, 0)));
    AddField("编码", tkText, "", false, true);
    AddField("到期", tkDate, "date()", false, true);
    AddField("普通", tkText, "");
    ExecSql("insert into Customer([GUID],TypeID,编码,到期,普通) values ('G1',0,'O''Neil','2020-01-01','a')@#@"
            "insert into Customer([GUID],TypeID,编码,到期,普通) values ('G2',0,'','2020-01-02','a')");
    TDIYPanel::Build(&container);
    auto* code = Ctrl<QLineEdit>(1);
    auto* date = Ctrl<QDateEdit>(2);
    struct Case {
        QString code;
        QDate date;
        QString guid;
        bool change;
        QString message;
    } cases[] = {
        {"O'Neil", QDate(2024, 5, 6), "0", false, "标题名称 编码 输入的信息 O'Neil 已经存在，不能重复输入！"},
        {"O'Neil", QDate(2024, 5, 6), "G1", true, ""}, // the record itself is excluded
        {"O'Neil", QDate(2024, 5, 6), "G2", true, "标题名称 编码 输入的信息 O'Neil 已经存在，不能重复输入！"},
        {"", QDate(2024, 5, 6), "0", false, "标题名称 编码 输入的信息  已经存在，不能重复输入！"},
        {"", QDate(2024, 5, 6), "G2", true, ""},
        {"新", QDate(2020, 1, 2), "0", false, "标题名称 到期 输入的信息 2020-01-02 已经存在，不能重复输入！"},
        {"新", QDate(2020, 1, 2), "G2", true, ""},
        {"新", QDate(2024, 5, 6), "0", false, ""},
    };
    for (const Case& c : cases) {
        code->setText(c.code);
        date->setDate(c.date);
        EXPECT_EQ(RaisedMessage([&] { TDIYPanel::CheckUnique(&container, c.guid, c.change); }), c.message)
            << c.code.toStdString() << " " << c.guid.toStdString();
    }
}

TEST_F(DIYPanelTest, InsertAndUpdateListsDoubleQuotes) {
    AddField("文本", tkText, "O'Neil");
    AddField("列表", tkList, "5''%#%");
    AddField("日期", tkDate, "2023-07-08");
    AddField("数字", tkNumber, "-1.5");
    TDIYPanel::Build(&container);
    QString cols, vals;
    TDIYPanel::InsertLists(&container, cols, vals);
    EXPECT_EQ(cols, QStringLiteral("文本,列表,日期,数字"));
    EXPECT_EQ(vals, QStringLiteral("'O''Neil','5''''','2023-07-08','-1.5'"));
    EXPECT_EQ(TDIYPanel::UpdateList(&container),
              QStringLiteral("文本='O''Neil',列表='5''''',日期='2023-07-08',数字='-1.5'"));
    // The lists run as the goods dialogs use them, and the values read back as typed.
    ExecSql(QStringLiteral(
                "insert into Customer([GUID],TypeID,商品编号,商品名称,备注,%1) values ('G1',0,'','','',%2)")
                .arg(cols, vals));
    EXPECT_EQ(Rows("select 文本,列表,日期,数字 from Customer"), QStringList{"O'Neil|5''|2023-07-08|-1.5"});
    Ctrl<QLineEdit>(1)->setText("it's");
    ExecSql(QStringLiteral("update Customer set %1 where GUID='G1' ").arg(TDIYPanel::UpdateList(&container)));
    EXPECT_EQ(Rows("select 文本 from Customer"), QStringList{"it's"});
}

TEST_F(DIYPanelTest, FillFromRecord) {
    SetNow(QDateTime(QDate(2024, 5, 6), QTime(10, 0)));
    AddField("文本", tkText, "默认");
    AddField("列表", tkList, "甲%#%乙%#%");
    AddField("日期", tkDate, "2000-01-01");
    AddField("日期二", tkDate, "2000-01-01");
    AddField("日期三", tkDate, "2000-01-01");
    AddField("数字", tkNumber, "7");
    ExecSql("insert into Customer([GUID],TypeID,列表,日期,日期二,数字) values "
            "('G1',0,'丙','2022-10-11','下周','3.5')");
    TDIYPanel::Build(&container);
    gDbAccess->OpenQuery("select * from Customer where [GUID]='G1' ");
    TDIYPanel::Fill(&container, *gDbAccess->QueryData);
    EXPECT_EQ(Ctrl<QLineEdit>(1)->text(), QString());                   // no value: empty, not the default
    EXPECT_EQ(Ctrl<QComboBox>(2)->currentText(), QStringLiteral("丙")); // free text not among the options
    EXPECT_EQ(Ctrl<QComboBox>(2)->count(), 2);
    EXPECT_EQ(Ctrl<QDateEdit>(3)->date(), QDate(2022, 10, 11));
    EXPECT_EQ(Ctrl<QDateEdit>(4)->date(), QDate(2024, 5, 6)); // not a date: today
    EXPECT_EQ(Ctrl<QDateEdit>(5)->date(), QDate(2024, 5, 6)); // no value: today
    EXPECT_EQ(Ctrl<QLineEdit>(6)->text(), QStringLiteral("3.5"));
}

TEST_F(DIYPanelTest, FailedKindTwoQueryKeepsEarlierFields) {
    AddField("甲", tkText);
    AddField("乙", tkMemoryList);
    AddField("丙", tkText);
    // The column of the second field is gone behind the definitions' back.
    ExecSql("alter table Customer drop COLUMN 乙 ");
    EXPECT_THROW(TDIYPanel::Build(&container), EDBException);
    EXPECT_TRUE(Ctrl<QLineEdit>(1) != nullptr);
    EXPECT_EQ(Ctrl<QWidget>(3), nullptr);
}
