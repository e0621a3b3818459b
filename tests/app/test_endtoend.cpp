// A shop owner's whole day with the real main window: groups, fields, goods, stock in, out and counted, the
// history, a reminder, a note, a login password, backup, clearing, restore, import and the close. Every step
// goes through the window's own menus, buttons and dialogs, and is then checked in the data file itself.
#include "app/FormMain.h"
#include "common/StatusPanels.h"
#include "controls/CardEdtBut.h"
#include "data/MD.h"
#include "reminders/PopupTestSupport.h"
#include "support/GuiTestSupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>

namespace {

// The named child of a window; a missing one fails the step that needs it.
template <class T> T* Child(QObject* parent, const char* name) {
    T* found = parent ? parent->findChild<T*>(QLatin1String(name)) : nullptr;
    if (!found) ADD_FAILURE() << "no child named " << name;
    return found;
}

QAction* ActionNamed(QObject* parent, const char* name) {
    return Child<QAction>(parent, name);
}

// Runs step inside the modal loop of the named window as soon as that window is the active modal one. A
// window may let pending events run while it opens, before its own loop starts; the step waits for it.
void InModal(const char* objectName, std::function<void(QWidget*)> step, int triesLeft = 100000) {
    QTimer::singleShot(0, [=] {
        QWidget* w = ActiveModal();
        if (w && w->objectName() == QLatin1String(objectName) && w->isVisible()) {
            step(w);
        } else if (triesLeft > 0) {
            InModal(objectName, step, triesLeft - 1);
        } else {
            ADD_FAILURE() << "the modal window " << objectName << " did not open; found "
                          << (w ? w->objectName().toStdString() : std::string("none"));
        }
    });
}

// Types text key by key, as a keyboard with an input method delivers it.
void TypeText(QWidget* w, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(w, &release);
    }
}

void ClickButton(QObject* parent, const char* name) {
    if (auto* b = Child<QAbstractButton>(parent, name)) b->click();
}

QTreeWidgetItem* NodeNamed(QTreeWidget* tree, const QString& text) {
    const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    if (found.isEmpty()) ADD_FAILURE() << "no tree node " << text.toStdString();
    return found.isEmpty() ? nullptr : found.first();
}

void ClickNode(QTreeWidget* tree, const QString& text) {
    QTreeWidgetItem* node = NodeNamed(tree, text);
    if (!node) return;
    tree->setCurrentItem(node);
    emit tree->itemClicked(node, 0);
}

} // namespace

class EndToEndTest : public TDataFileTest {
protected:
    void SetUp() override {
        TDataFileTest::SetUp();
        SetNow(QDateTime(QDate(2026, 12, 11), QTime(9, 0, 0)));
        Start();
    }
    void TearDown() override {
        form.reset();
        SetNow(QDateTime());
        TDataFileTest::TearDown();
    }
    // Starts the program's main window as the program does: made, then shown (the first show's work).
    void Start() {
        form = std::make_unique<TFormMain>();
        form->tmrHint()->stop();
        form->tmr1()->stop(); // the story moves the clock and ticks the reminder check itself
        form->show();
        QCoreApplication::processEvents();
    }
    QString One(const QString& sql) { return Rows(sql).value(0); }
    QTreeWidget* tv1() { return Child<QTreeWidget>(form.get(), "tv1"); }

    // 新建组 on the goods tree under the named parent.
    void NewGroup(const QString& parent, const QString& name) {
        ClickNode(tv1(), parent);
        InModal("FormAddType", [name](QWidget* dlg) {
            Child<QLineEdit>(dlg, "edtName")->setText(name);
            ClickButton(dlg, "btnOK");
        });
        ActionNamed(form.get(), "NAddIEType")->trigger();
    }

    // One new field through the field list window's 新建 (the window must be open).
    static void NewField(QWidget* fieldList, const QString& name, int kind, const QString& values) {
        InModal("TFormAddTitle", [=](QWidget* dlg) {
            Child<QLineEdit>(dlg, "edtName")->setText(name);
            Child<QComboBox>(dlg, "cbbType")->setCurrentIndex(kind);
            if (kind == 1)
                Child<QPlainTextEdit>(dlg, "mmomrz")->setPlainText(values);
            else if (!values.isEmpty())
                Child<QLineEdit>(dlg, "edtmrz")->setText(values);
            ClickButton(dlg, "btnOK");
        });
        ClickButton(fieldList, "btnNew");
    }

    // 新建商品 in the named group, with the user fields' boxes filled in order.
    void NewGoods(const QString& group, const QString& code, const QString& name,
                  const std::function<void(QWidget*)>& fields) {
        ClickNode(tv1(), group);
        InModal("TFormAddCustomer", [=](QWidget* dlg) {
            Child<QLineEdit>(dlg, "edtName")->setText(code);
            Child<QLineEdit>(dlg, "edtTel")->setText(name);
            fields(dlg);
            ClickButton(dlg, "btnOK");
        });
        ActionNamed(form.get(), "NAddCustomer")->trigger();
    }

    // The goods grid's rows as "商品编号|商品名称|库存".
    QStringList GridRows() {
        auto* grid = Child<QAbstractItemView>(form.get(), "DBGrid1");
        QStringList out;
        if (!grid) return out;
        QAbstractItemModel* m = grid->model();
        auto column = [m](const QString& title) {
            for (int c = 0; c < m->columnCount(); ++c)
                if (m->headerData(c, Qt::Horizontal).toString().endsWith(title)) return c;
            return -1;
        };
        const int code = column(QStringLiteral("商品编号")), name = column(QStringLiteral("商品名称")),
                  stock = column(QStringLiteral("库存"));
        for (int r = 0; r < m->rowCount(); ++r)
            out << QStringList{m->index(r, code).data().toString(), m->index(r, name).data().toString(),
                               m->index(r, stock).data().toString()}
                       .join(QLatin1Char('|'));
        out.sort();
        return out;
    }

    // Moves the clock and lets the reminder check run as its timer would.
    void At(int hour, int minute, int second = 0) {
        SetNow(QDateTime(QDate(2026, 12, 11), QTime(hour, minute, second)));
        form->tmr1Timer();
    }

    // A stock document from the goods page's toolbar: quantities typed into the rows of the named codes,
    // moving down with Enter; the last box is still being edited when the confirm button is pressed.
    void Book(const char* button, const char* window, const std::vector<std::pair<QString, QString>>& typed) {
        bool opened = false;
        InModal(window, [&](QWidget* dlg) {
            opened = true;
            auto* lv1 = Child<QAbstractItemView>(dlg, "lv1");
            QAbstractItemModel* m = lv1->model();
            for (size_t i = 0; i < typed.size(); ++i) {
                int row = -1;
                for (int r = 0; r < m->rowCount(); ++r)
                    if (m->index(r, 1).data().toString() == typed[i].first) row = r;
                ASSERT_GE(row, 0) << typed[i].first.toStdString();
                const QModelIndex cell = m->index(row, 4);
                // Enter may already have opened this row's box; otherwise the user clicks into it.
                if (!lv1->indexWidget(cell)) {
                    lv1->setCurrentIndex(cell);
                    lv1->edit(cell);
                }
                auto* box = qobject_cast<QLineEdit*>(lv1->indexWidget(cell));
                ASSERT_NE(box, nullptr);
                EXPECT_EQ(box->objectName(), QStringLiteral("edtQuantity"));
                box->selectAll();
                TypeText(box, typed[i].second);
                if (i + 1 < typed.size()) QTest::keyClick(box, Qt::Key_Return);
            }
            ClickButton(dlg, "btnOK");
            ClickButton(dlg, "btnCancel");
        });
        Child<QAbstractButton>(form.get(), button)->click();
        EXPECT_TRUE(opened) << window;
    }
    QString StockTotalShown() {
        auto* stat1 = Child<TStatusPanels>(form.get(), "stat1");
        for (int i = 0; stat1 && i + 1 < stat1->PanelCount(); ++i)
            if (stat1->PanelText(i).contains(QStringLiteral("库存"))) return stat1->PanelText(i + 1);
        return QString();
    }
    // Opens the data maintenance window and runs the step inside it.
    void InDataMgr(const std::function<void(QWidget*)>& step) {
        bool opened = false;
        InModal("TFormDataMgr", [&](QWidget* dlg) {
            opened = true;
            step(dlg);
            if (dlg->isVisible()) dlg->close();
        });
        ActionNamed(form.get(), "N8")->trigger();
        EXPECT_TRUE(opened);
    }
    // Closes the main window as the user does, then starts the program again on the same data file.
    void Restart(const std::function<void(QWidget*)>& atLogin = {}) {
        form->close();
        form.reset();
        gDbAccess->Connect();
        ASSERT_TRUE(gDbAccess->Connection->Connected());
        if (atLogin) InModal("TFormPass", atLogin);
        Start();
    }

    std::unique_ptr<TFormMain> form;
    TCountingChime chime;
};

TEST_F(EndToEndTest, AShopOwnersDay) {
    // --- Groups: 饮料 with 果汁 inside it, and 零食.
    NewGroup(QStringLiteral("全部商品"), QStringLiteral("饮料"));
    NewGroup(QStringLiteral("饮料"), QStringLiteral("果汁"));
    NewGroup(QStringLiteral("全部商品"), QStringLiteral("零食"));
    EXPECT_EQ(Rows(QStringLiteral("select a.TypeName,b.TypeName from CustomerType a, CustomerType b "
                                  "where a.ParentIndex=b.SelfIndex and a.SelfIndex>0 order by a.SelfIndex")),
              (QStringList{"饮料|未分组", "果汁|饮料", "零食|未分组"}));

    // --- One goods field of each kind, through the field list window.
    InModal("TFormCustomerDIY", [](QWidget* list) {
        NewField(list, QStringLiteral("产地"), 0, QString());
        NewField(list, QStringLiteral("颜色"), 1, QStringLiteral("红\n绿"));
        NewField(list, QStringLiteral("供应商"), 2, QString());
        NewField(list, QStringLiteral("生产日期"), 3, QString());
        NewField(list, QStringLiteral("单价"), 4, QString());
        ClickButton(list, "btnExit");
    });
    Child<QAbstractButton>(form.get(), "ToolButtonHY")->click();
    QCoreApplication::sendPostedEvents(form.get()); // the window asks for the goods list again on closing
    EXPECT_EQ(Rows(QStringLiteral("select TitleName,TitleType from AppTitle")),
              (QStringList{"产地|0", "颜色|1", "供应商|2", "生产日期|3", "单价|4"}));
    gDbAccess->OpenQuery(QStringLiteral("select * from Customer where 1=0"));
    for (const char* column : {"产地", "颜色", "供应商", "生产日期", "单价"})
        EXPECT_GE(gDbAccess->QueryData->FindField(QString::fromUtf8(column)), 0) << column;

    // --- Goods in their groups, the fields filled through the panel's boxes.
    auto fill = [](const QString& origin, int colour, const QString& supplier, const QString& price) {
        return [=](QWidget* dlg) {
            Child<QLineEdit>(dlg, "Ctrl1")->setText(origin);
            Child<QComboBox>(dlg, "Ctrl2")->setCurrentIndex(colour);
            Child<QComboBox>(dlg, "Ctrl3")->setEditText(supplier);
            Child<QDateEdit>(dlg, "Ctrl4")->setDate(QDate(2026, 11, 30));
            Child<QLineEdit>(dlg, "Ctrl5")->setText(price);
        };
    };
    NewGoods(QStringLiteral("饮料"), QStringLiteral("A001"), QStringLiteral("可乐"),
             fill(QStringLiteral("上海"), 0, QStringLiteral("甲公司"), QStringLiteral("3.5")));
    NewGoods(QStringLiteral("饮料"), QStringLiteral("A002"), QStringLiteral("雪碧"),
             fill(QStringLiteral("广州"), 1, QStringLiteral("乙公司"), QStringLiteral("3")));
    NewGoods(QStringLiteral("果汁"), QStringLiteral("B001"), QStringLiteral("O'Neil 橙汁"),
             fill(QStringLiteral("北京"), 0, QStringLiteral("甲公司"), QStringLiteral("6.8")));
    EXPECT_EQ(
        Rows(QStringLiteral("select 商品编号,商品名称,t.TypeName,产地,颜色,供应商,生产日期,单价,库存 "
                            "from Customer c, CustomerType t where c.TypeID=t.SelfIndex order by 商品编号")),
        (QStringList{"A001|可乐|饮料|上海|红|甲公司|2026-11-30|3.5|0",
                     "A002|雪碧|饮料|广州|绿|乙公司|2026-11-30|3|0",
                     "B001|O'Neil 橙汁|果汁|北京|红|甲公司|2026-11-30|6.8|0"}));
    EXPECT_EQ(One(QStringLiteral("select count(distinct GUID) from Customer")), QStringLiteral("3"));
    ClickNode(tv1(), QStringLiteral("全部商品"));
    EXPECT_EQ(GridRows(), (QStringList{"A001|可乐|0", "A002|雪碧|0", "B001|O'Neil 橙汁|0"}));

    // --- A note, typed into the root category's note box.
    auto* pgc1 = Child<QTabWidget>(form.get(), "pgc1");
    pgc1->setCurrentIndex(1);
    auto* mmoNote = Child<QPlainTextEdit>(form.get(), "mmoNote");
    mmoNote->setFocus();
    TypeText(mmoNote, QStringLiteral("周五盘点"));
    EXPECT_EQ(One(QStringLiteral("select ReMark from NoteBook where TypeID=0")), QStringLiteral("周五盘点"));

    // --- A reminder for 09:05 today: it pops up with its chime, is put off for five minutes, comes back at
    // 09:10 and is seen.
    pgc1->setCurrentIndex(2);
    InModal("TFormAddAlam", [](QWidget* dlg) {
        Child<QLineEdit>(dlg, "edtHour")->setText(QStringLiteral("9"));
        Child<QLineEdit>(dlg, "edtMinute")->setText(QStringLiteral("5"));
        Child<QPlainTextEdit>(dlg, "mmoNote")->setPlainText(QStringLiteral("给甲公司打电话"));
        ClickButton(dlg, "btnOK");
    });
    ActionNamed(form.get(), "NAddAlam")->trigger();
    EXPECT_EQ(Rows(QStringLiteral("select ReDay,iHour,iMinute,ReMark,bLook from Alam")),
              QStringList{"0|9|5|给甲公司打电话|0"});
    At(9, 4, 59);
    EXPECT_TRUE(OpenPopups().isEmpty());
    At(9, 5, 1); // a tick that came a second late still shows the minute's reminder
    ASSERT_EQ(OpenPopups().size(), 1);
    EXPECT_EQ(chime.count, 1);
    OpenPopups().first()->SnoozeItem(1)->trigger(); // 5分钟后再提醒
    QCoreApplication::sendPostedEvents(form.get());
    EXPECT_EQ(Rows(QStringLiteral("select iHour,iMinute,bLook from Alam")), QStringList{"9|10|0"});
    At(9, 6);
    EXPECT_TRUE(OpenPopups().isEmpty());
    At(9, 10);
    ASSERT_EQ(OpenPopups().size(), 1);
    OpenPopups().first()->btnOkSave()->click();
    QCoreApplication::sendPostedEvents(form.get());
    EXPECT_EQ(Rows(QStringLiteral("select bLook from Alam")), QStringList{"1"});
    CloseAllPopups();

    // --- Stock in for three goods at once, stock out, and a count that finds one short.
    pgc1->setCurrentIndex(0);
    messages.Clear();
    Book("ToolButtonCZ", "TFormStorIn", {{"A001", "10"}, {"A002", "20"}, {"B001", "5"}});
    EXPECT_EQ(messages.Texts(), QStringList{"进货成功!"});
    EXPECT_EQ(Rows(QStringLiteral("select c.商品编号,s.SL from StorIn s, Customer c where s.GUID=c.GUID "
                                  "order by c.商品编号")),
              (QStringList{"A001|10", "A002|20", "B001|5"}));
    EXPECT_EQ(StockTotalShown(), QStringLiteral("35"));
    Book("btn4", "TFormStorOut", {{"A001", "3"}});
    EXPECT_EQ(Rows(QStringLiteral("select c.商品编号,s.SL from StorOut s, Customer c where s.GUID=c.GUID")),
              QStringList{"A001|3"});
    Book("btn6", "TFormStorOk", {{"B001", "4"}});
    EXPECT_EQ(
        Rows(QStringLiteral("select c.商品编号,s.SL,s.Oldsl from StorOk s, Customer c where s.GUID=c.GUID")),
        QStringList{"B001|4|5"});
    EXPECT_EQ(Rows(QStringLiteral("select 商品编号,库存 from Customer order by 商品编号")),
              (QStringList{"A001|7", "A002|20", "B001|4"}));
    EXPECT_EQ(StockTotalShown(), QStringLiteral("31"));
    EXPECT_EQ(messages.Texts(), (QStringList{"进货成功!", "出货成功!", "盘点成功!"}));

    // --- The history of today on each page; the stock-in sheet is exported.
    const QString sheet = Dir() + QStringLiteral("进货.xlsx");
    dialogs.QueueFileName(sheet);
    QStringList historyRows;
    InModal("TFormQStor", [&](QWidget* dlg) {
        auto* pages = Child<QTabWidget>(dlg, "pgc1");
        for (int i = 0; i < 3; ++i) {
            pages->setCurrentIndex(i);
            QWidget* page = pages->widget(i);
            ClickButton(page, "btnQuery");
            historyRows << QString::number(Child<QAbstractItemView>(page, "DBGrid1")->model()->rowCount());
        }
        pages->setCurrentIndex(0);
        ClickButton(pages->widget(0), "btnExcel");
        dlg->close();
    });
    Child<QAbstractButton>(form.get(), "btn8")->click();
    EXPECT_EQ(historyRows, (QStringList{"3", "1", "1"}));
    EXPECT_TRUE(QFileInfo(sheet).isFile());

    // --- A login password with a quote in it; the next start asks for it and refuses a wrong one.
    InModal("TFormConfig", [](QWidget* dlg) {
        Child<QAbstractButton>(dlg, "chkPass")->click();
        Child<QLineEdit>(dlg, "edtPass")->setText(QStringLiteral("o'k"));
        Child<QLineEdit>(dlg, "edtRePass")->setText(QStringLiteral("o'k"));
        ClickButton(dlg, "btnOK");
    });
    ActionNamed(form.get(), "N15")->trigger();
    EXPECT_EQ(Rows(QStringLiteral("select PassWord from SysSet")), QStringList{"o'k"});
    messages.Clear();
    bool askedAtLogin = false;
    Restart([&](QWidget* dlg) {
        askedAtLogin = true;
        Child<QLineEdit>(dlg, "edtPass")->setText(QStringLiteral("ok"));
        ClickButton(dlg, "btnOK");
        EXPECT_TRUE(dlg->isVisible());
        Child<QLineEdit>(dlg, "edtPass")->setText(QStringLiteral("o'k"));
        ClickButton(dlg, "btnOK");
    });
    EXPECT_TRUE(askedAtLogin);
    EXPECT_EQ(messages.Texts(), QStringList{"密码输入错误!"});
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(GridRows(), (QStringList{"A001|可乐|7", "A002|雪碧|20", "B001|O'Neil 橙汁|4"}));

    // --- Back up, clear, restore: the window shows what the file holds after each.
    const QString backup = Dir() + QStringLiteral("周五备份");
    dialogs.QueueFileName(backup);
    messages.Clear();
    InDataMgr([](QWidget* dlg) { ClickButton(dlg, "btnSave"); });
    EXPECT_TRUE(QFileInfo(backup + QStringLiteral(".dat")).isFile());
    EXPECT_EQ(messages.Texts(), QStringList{"备份成功!"});

    messages.QueueAnswer(true);
    InDataMgr([](QWidget* dlg) { ClickButton(dlg, "Button1"); });
    EXPECT_EQ(One(QStringLiteral("select count(*) from Customer")), QStringLiteral("0"));
    EXPECT_EQ(One(QStringLiteral("select count(*) from StorIn")), QStringLiteral("3"));
    EXPECT_TRUE(GridRows().isEmpty());
    EXPECT_TRUE(QFileInfo(Dir() + QStringLiteral("tmpData.dat")).isFile());

    messages.QueueAnswer(true);
    dialogs.QueueFileName(backup + QStringLiteral(".dat"));
    InDataMgr([](QWidget* dlg) { ClickButton(dlg, "btnAdd"); });
    EXPECT_EQ(GridRows(), (QStringList{"A001|可乐|7", "A002|雪碧|20", "B001|O'Neil 橙汁|4"}));
    pgc1 = Child<QTabWidget>(form.get(), "pgc1");
    pgc1->setCurrentIndex(1);
    mmoNote = Child<QPlainTextEdit>(form.get(), "mmoNote");
    EXPECT_EQ(mmoNote->toPlainText(), QStringLiteral("周五盘点"));
    mmoNote->moveCursor(QTextCursor::End);
    TypeText(mmoNote, QStringLiteral("！"));
    EXPECT_EQ(One(QStringLiteral("select ReMark from NoteBook where TypeID=0")),
              QStringLiteral("周五盘点！"));

    // --- Goods from a sheet into 零食: code, name and colour taken over.
    pgc1->setCurrentIndex(0);
    dialogs.QueueFileName(QStringLiteral(BK_FIXTURES "goods_utf8.csv"));
    messages.Clear();
    InDataMgr([&](QWidget* dlg) {
        auto* list = Child<QListWidget>(dlg, "lstbox1");
        for (int i = 0; i < list->count(); ++i)
            if (QStringList{"商品编号", "商品名称", "颜色"}.contains(list->item(i)->text()))
                list->item(i)->setCheckState(Qt::Checked);
        InModal("FormViewCustomerType", [](QWidget* picker) {
            auto* tree = Child<QTreeWidget>(picker, "tv1");
            tree->setCurrentItem(NodeNamed(tree, QStringLiteral("零食")));
            ClickButton(picker, "btnOK");
        });
        Child<TCardEdtBut>(dlg, "EdtGoup")->Button()->click();
        ClickButton(dlg, "btnInData");
    });
    ASSERT_EQ(messages.Texts().size(), 1);
    const QString imported = One(QStringLiteral("select count(*) from Customer c, CustomerType t "
                                                "where c.TypeID=t.SelfIndex and t.TypeName='零食'"));
    EXPECT_EQ(messages.Texts().first(), QStringLiteral("输入导入成功，导入条数：") + imported);
    EXPECT_GE(imported.toInt(), 4);
    EXPECT_EQ(Rows(QStringLiteral("select 商品编号,颜色,库存 from Customer where 商品名称='苹果'")),
              QStringList{"6901234567892|红|0"});

    // --- The day ends: the window closes, the file is compacted and opens again with everything in it.
    const QString goodsBefore = One(QStringLiteral("select count(*) from Customer"));
    form->close();
    form.reset();
    EXPECT_TRUE(QDir(Dir()).entryList({QStringLiteral("~CP*")}).isEmpty());
    gDbAccess->Connect();
    ASSERT_TRUE(gDbAccess->Connection->Connected());
    EXPECT_EQ(One(QStringLiteral("select count(*) from Customer")), goodsBefore);
    EXPECT_EQ(One(QStringLiteral("select count(*) from StorIn")), QStringLiteral("3"));
    EXPECT_EQ(Rows(QStringLiteral("select PassWord from SysSet")), QStringList{"o'k"});
}
