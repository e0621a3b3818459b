// The import page: the field list, the group, and the import with its safety copy, waiting window and
// messages, driven through the seams.
#include "common/Seams.h"
#include "controls/CardEdtBut.h"
#include "data/MD.h"
#include "goods/GoodsTestData.h"
#include "maint/ImportPage.h"
#include "support/GuiTestSupport.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>

using namespace goods_test;

void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

QString Fixture(const char* name) {
    return QStringLiteral(BK_FIXTURES) + QString::fromUtf8(name);
}

// Records the waiting window's calls in the same log as the message boxes.
class TLoggedWaiting : public IWaitingIndicator {
public:
    explicit TLoggedWaiting(QStringList& log) : m_log(log) {}
    void ShowMessage(const QString& text) override {
        m_log << QStringLiteral("wait:") + text;
        shown = true;
    }
    void Hide() override {
        m_log << QStringLiteral("hide");
        shown = false;
    }
    bool shown = false;

private:
    QStringList& m_log;
};

class TLoggedMessages : public TRecordingMessages {
public:
    explicit TLoggedMessages(QStringList& log) : m_log(log) {}
    bool Show(TMessageKind kind, const QString& caption, const QString& text) override {
        m_log << text;
        return TRecordingMessages::Show(kind, caption, text);
    }

private:
    QStringList& m_log;
};

} // namespace

class ImportPageTest : public TDataFileTest {
protected:
    void SetUp() override {
        TDataFileTest::SetUp();
        SetMessageSink(&logged);
        SetWaitingIndicator(&waiting);
        AddField(QStringLiteral("颜色"));
        AddGroup(5, 0, QStringLiteral("水果"));
        AddGoods(Guid(1), 0, QStringLiteral("OLD"), QStringLiteral("旧的"));
        page.Prepare();
    }
    void TearDown() override {
        SetWaitingIndicator(nullptr);
        TDataFileTest::TearDown();
    }
    void Tick(const QString& name) {
        const auto items = page.lstbox1->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        items[0]->setCheckState(Qt::Checked);
    }
    int GoodsCount() { return QueryInt(QStringLiteral("select count(*) from Customer")); }
    QString SafetyCopy() const { return Dir() + QStringLiteral("tmpData.dat"); }

    QStringList log;
    TLoggedMessages logged{log};
    TLoggedWaiting waiting{log};
    TImportPage page;
};

TEST_F(ImportPageTest, PreparedWithTheFieldsUntickedAndNoGroup) {
    for (const char* name : {"LabGou", "EdtGoup", "lstbox1", "Label4", "btnInData"})
        EXPECT_NE(page.findChild<QWidget*>(QString::fromUtf8(name)), nullptr) << name;
    EXPECT_EQ(page.LabGou->text(), QStringLiteral("所属分组"));
    EXPECT_EQ(page.btnInData->text(), QStringLiteral("数据导入"));
    EXPECT_EQ(
        page.Label4->text(),
        QStringLiteral("选择需要导入的客户资料字段，Excel中填入同样的客户资料字段\n导入前请先数据备份"));
    EXPECT_TRUE(page.EdtGoup->isReadOnly());
    EXPECT_EQ(page.EdtGoup->ButtonBmp(), CardFind);
    EXPECT_EQ(page.EdtGoup->text(), QStringLiteral("未分组"));
    QStringList names;
    for (int i = 0; i < page.lstbox1->count(); ++i) {
        names << page.lstbox1->item(i)->text();
        EXPECT_EQ(page.lstbox1->item(i)->checkState(), Qt::Unchecked);
    }
    EXPECT_EQ(names, QStringList({"商品编号", "商品名称", "颜色"}));

    // Shown again: ticks cleared, a field added meanwhile is offered.
    Tick(QStringLiteral("颜色"));
    AddField(QStringLiteral("产地"));
    page.Prepare();
    EXPECT_TRUE(page.TickedFields().isEmpty());
    EXPECT_EQ(page.lstbox1->count(), 4);
}

TEST_F(ImportPageTest, NothingTickedAsksForAField) {
    page.btnInData->click();
    EXPECT_EQ(log, QStringList({"必须选择需要导入的商品资料标题!"}));
    EXPECT_TRUE(dialogs.captions.isEmpty());
    EXPECT_FALSE(QFile::exists(SafetyCopy()));
}

TEST_F(ImportPageTest, CancelledDialogDoesNothing) {
    Tick(QStringLiteral("商品名称"));
    page.btnInData->click();
    EXPECT_EQ(dialogs.filters, QStringList({"EXCEL (*.xls *.xlsx);;CSV (*.csv)"}));
    EXPECT_TRUE(log.isEmpty());
    EXPECT_FALSE(QFile::exists(SafetyCopy()));
    EXPECT_FALSE(page.Imported());
}

TEST_F(ImportPageTest, ImportsIntoThePickedGroupAfterTheSafetyCopy) {
    WhenModal([] {
        auto* picker = ActiveModal();
        ASSERT_NE(picker, nullptr);
        auto* tree = picker->findChild<QTreeWidget*>(QStringLiteral("tv1"));
        tree->setCurrentItem(tree->topLevelItem(0)->child(0));
        picker->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
    page.EdtGoup->Button()->click();
    EXPECT_EQ(page.GroupIndex(), 5);
    EXPECT_EQ(page.EdtGoup->text(), QStringLiteral("水果"));

    Tick(QStringLiteral("商品名称"));
    Tick(QStringLiteral("颜色"));
    dialogs.QueueFileName(Fixture("goods_lo.xlsx"));
    page.btnInData->click();
    EXPECT_EQ(log, QStringList({"wait:正在导入数据，请稍后...", "hide", "输入导入成功，导入条数：4"}));
    EXPECT_TRUE(page.Imported());
    EXPECT_EQ(Rows("select 商品名称, 颜色 from Customer where TypeID=5 and 颜色 is not null order by rowid"),
              QStringList({"苹果|红", "橙子|TRUE", "梨\"雪花\"|黄"}));
    EXPECT_EQ(GoodsCount(), 5);

    // The safety copy holds the data as it was just before.
    ASSERT_TRUE(QFile::exists(SafetyCopy()));
    TDatabase copy;
    copy.Open(SafetyCopy(), DatabasePassword());
    TResultSet rs(&copy);
    rs.Open(QStringLiteral("select count(*) from Customer"));
    EXPECT_EQ(rs.Fields(0).AsInteger(), 1);
}

TEST_F(ImportPageTest, FailureShowsTheReasonAndKeepsTheData) {
    Tick(QStringLiteral("商品编号"));
    Tick(QStringLiteral("商品名称"));
    dialogs.QueueFileName(Fixture("missing_column.xls"));
    page.btnInData->click();
    EXPECT_EQ(log, QStringList({"wait:正在导入数据，请稍后...", "hide",
                                "数据导入失败，失败原因：工作表中没有“商品名称”列"}));
    EXPECT_EQ(logged.shown.back().kind, TMessageKind::Error);
    EXPECT_FALSE(page.Imported());
    EXPECT_EQ(GoodsCount(), 1);
}

TEST_F(ImportPageTest, NoSafetyCopyNoImport) {
    // A folder where the copy should go: the copy cannot be written.
    ASSERT_TRUE(QDir().mkpath(SafetyCopy() + QStringLiteral("/x")));
    Tick(QStringLiteral("商品名称"));
    dialogs.QueueFileName(Fixture("goods_lo.xlsx"));
    page.btnInData->click();
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].startsWith(QStringLiteral("数据库备份失败！"))) << log[0].toStdString();
    EXPECT_FALSE(page.Imported());
    EXPECT_EQ(GoodsCount(), 1);
    EXPECT_FALSE(waiting.shown);
}
