// The reminder editor: its look, the clock, the rows that show and hide, the key filters and caps, the
// check, what OK stores, and the change dialog's load order.
#include "AlamTestData.h"
#include "common/UException.h"
#include "reminders/AddAlam.h"
#include "reminders/AlamContext.h"
#include "reminders/ModAlam.h"
#include "support/GuiTestSupport.h"

#include <QApplication>
#include <QDateEdit>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

namespace {

class AlamEditorTest : public TDataFileTest {
protected:
    void SetUp() override {
        TDataFileTest::SetUp();
        SetNow(At(2024, 3, 15, 9, 30, 20));
    }
    static void Leave(QWidget* box) {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(box, &out);
    }
    static void Retype(QLineEdit* box, const QString& keys) {
        box->clear();
        QTest::keyClicks(box, keys);
    }
    QStringList Stored() {
        return Rows(
            QStringLiteral("select ReDay,iHour,iMinute,iMonWeek,Format(AlamDate,'YYYY-MM-DD'),ReMark,bLook "
                           "from Alam"));
    }
};

} // namespace

TEST_F(AlamEditorTest, ANewDialogStartsAtNineOnceTodayWithNoText) {
    TFormAddAlam dlg;
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("新建提醒"));
    EXPECT_EQ(dlg.edtHour()->text(), QStringLiteral("9"));
    EXPECT_EQ(dlg.edtMinute()->text(), QStringLiteral("0"));
    EXPECT_EQ(dlg.edtHour()->maxLength(), 2);
    EXPECT_EQ(dlg.edtMinute()->maxLength(), 2);
    EXPECT_TRUE(dlg.rbOnly()->isChecked());
    EXPECT_EQ(dlg.rbOnly()->text(), QStringLiteral("只一次"));
    EXPECT_EQ(dlg.rbDay()->text(), QStringLiteral("每天"));
    EXPECT_EQ(dlg.rbWeek()->text(), QStringLiteral("每周"));
    EXPECT_EQ(dlg.rbMonth()->text(), QStringLiteral("每月"));
    EXPECT_EQ(dlg.DBDay()->date(), QDate(2024, 3, 15));
    EXPECT_TRUE(dlg.DBDay()->isVisibleTo(&dlg));
    EXPECT_FALSE(dlg.pnlMonWeek()->isVisibleTo(&dlg));
    EXPECT_EQ(dlg.edtMonWeek()->text(), QStringLiteral("1"));
    EXPECT_EQ(dlg.edtMonWeek()->maxLength(), 2);
    EXPECT_TRUE(dlg.mmoNote()->toPlainText().isEmpty());
    EXPECT_EQ(dlg.btnAlamContext()->text(), QStringLiteral("..."));
    EXPECT_EQ(dlg.btnAlamContext()->toolTip(), QStringLiteral("预设提醒内容"));
    EXPECT_EQ(dlg.LabNow()->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    // The clock labels are empty until the first tick.
    EXPECT_TRUE(dlg.LabNow()->text().isEmpty());
    EXPECT_TRUE(dlg.LabLabWeeks()->text().isEmpty());
    EXPECT_EQ(dlg.tmr1()->interval(), 1000);
    EXPECT_TRUE(dlg.tmr1()->isActive());
    dlg.tmr1Timer();
    const QLocale locale = QLocale::system();
    EXPECT_EQ(dlg.LabNow()->text(), locale.toString(QDate(2024, 3, 15), QLocale::ShortFormat) +
                                        QLatin1Char(' ') +
                                        locale.toString(QTime(9, 30, 20), QLocale::LongFormat));
    EXPECT_EQ(dlg.LabLabWeeks()->text(), QStringLiteral("星期五"));

    dlg.show();
    EXPECT_EQ(dlg.focusWidget(), dlg.edtHour());
    dlg.btnOK()->click();
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("提醒内容不能为空！")});
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(Stored().isEmpty());
}

TEST_F(AlamEditorTest, WeekDayNameFollowsTheClock) {
    const char* const names[] = {"星期一", "星期二", "星期三", "星期四", "星期五", "星期六", "星期日"};
    for (int i = 0; i < 7; ++i) {
        SetNow(QDateTime(QDate(2024, 3, 11).addDays(i), QTime(12, 0))); // from a Monday
        EXPECT_EQ(WeekDayName(), QString::fromUtf8(names[i]));
    }
}

TEST_F(AlamEditorTest, ChoosingAKindShowsAndHidesTheRows) {
    TFormAddAlam dlg;
    const struct {
        QRadioButton* button;
        bool dateRow, dayRow;
        const char* word;
        const char* after;
        int maxLength;
    } cases[] = {
        {dlg.rbWeek(), false, true, "每周", "提醒", 1},    {dlg.rbDay(), false, false, nullptr, nullptr, 0},
        {dlg.rbMonth(), false, true, "每月", "号提醒", 2}, {dlg.rbOnly(), true, false, nullptr, nullptr, 0},
        {dlg.rbMonth(), false, true, "每月", "号提醒", 2}, {dlg.rbWeek(), false, true, "每周", "提醒", 1},
    };
    for (const auto& c : cases) {
        dlg.edtMonWeek()->setText(QStringLiteral("5"));
        dlg.DBDay()->setDate(QDate(2024, 5, 1));
        c.button->click();
        const std::string what = c.button->text().toStdString();
        EXPECT_EQ(dlg.LabDay()->isVisibleTo(&dlg), c.dateRow) << what;
        EXPECT_EQ(dlg.DBDay()->isVisibleTo(&dlg), c.dateRow) << what;
        EXPECT_EQ(dlg.pnlMonWeek()->isVisibleTo(&dlg), c.dayRow) << what;
        if (c.dayRow) {
            EXPECT_EQ(dlg.LabMonWord()->text(), QString::fromUtf8(c.word));
            EXPECT_EQ(dlg.LabModWordAlam()->text(), QString::fromUtf8(c.after));
            EXPECT_EQ(dlg.edtMonWeek()->maxLength(), c.maxLength);
            EXPECT_EQ(dlg.edtMonWeek()->text(), QStringLiteral("1")) << what;
        } else {
            EXPECT_EQ(dlg.edtMonWeek()->text(), QStringLiteral("5")) << what;
        }
        // "只一次" puts the date back to today.
        EXPECT_EQ(dlg.DBDay()->date(), c.dateRow ? QDate(2024, 3, 15) : QDate(2024, 5, 1)) << what;
    }
}

TEST_F(AlamEditorTest, TheBoxesTakeDigitsOnlyAndCapTheirValues) {
    TFormAddAlam dlg;
    dlg.show();
    const struct {
        QLineEdit* box;
        QRadioButton* kind;
        const char* keys;
        const char* result;
    } cases[] = {
        {dlg.edtHour(), dlg.rbOnly(), "75", "23"},     {dlg.edtHour(), dlg.rbOnly(), "23", "23"},
        {dlg.edtHour(), dlg.rbOnly(), "a1b", "1"},     {dlg.edtHour(), dlg.rbOnly(), "-5", "5"},
        {dlg.edtHour(), dlg.rbOnly(), "123", "12"},    {dlg.edtMinute(), dlg.rbOnly(), "65", "59"},
        {dlg.edtMinute(), dlg.rbOnly(), "5x9", "59"},  {dlg.edtMinute(), dlg.rbOnly(), "07", "07"},
        {dlg.edtMonWeek(), dlg.rbWeek(), "8", ""},     {dlg.edtMonWeek(), dlg.rbWeek(), "0", ""},
        {dlg.edtMonWeek(), dlg.rbWeek(), "7", "7"},    {dlg.edtMonWeek(), dlg.rbWeek(), "35", "3"},
        {dlg.edtMonWeek(), dlg.rbMonth(), "45", "31"}, {dlg.edtMonWeek(), dlg.rbMonth(), "a2", "2"},
        {dlg.edtMonWeek(), dlg.rbMonth(), "29", "29"},
    };
    for (const auto& c : cases) {
        c.kind->click();
        Retype(c.box, QString::fromUtf8(c.keys));
        EXPECT_EQ(c.box->text(), QString::fromUtf8(c.result))
            << c.box->objectName().toStdString() << " " << c.keys;
    }
    // Backspace passes.
    Retype(dlg.edtHour(), QStringLiteral("12"));
    QTest::keyClick(dlg.edtHour(), Qt::Key_Backspace);
    EXPECT_EQ(dlg.edtHour()->text(), QStringLiteral("1"));
    // A pasted text that is no number does not get in either.
    dlg.edtMinute()->clear();
    dlg.edtMinute()->insert(QStringLiteral("-3"));
    EXPECT_TRUE(dlg.edtMinute()->text().isEmpty());
}

TEST_F(AlamEditorTest, ABoxLeftEmptyGetsItsDefault) {
    TFormAddAlam dlg;
    dlg.rbMonth()->click();
    const struct {
        QLineEdit* box;
        const char* text;
        const char* after;
    } cases[] = {
        {dlg.edtHour(), "", "0"},     {dlg.edtHour(), "  ", "0"},    {dlg.edtHour(), "7", "7"},
        {dlg.edtMinute(), "", "0"},   {dlg.edtMinute(), "30", "30"}, {dlg.edtMonWeek(), "", "1"},
        {dlg.edtMonWeek(), "0", "1"}, {dlg.edtMonWeek(), "00", "1"}, {dlg.edtMonWeek(), "15", "15"},
    };
    for (const auto& c : cases) {
        c.box->setText(QString::fromUtf8(c.text));
        Leave(c.box);
        EXPECT_EQ(c.box->text(), QString::fromUtf8(c.after)) << c.box->objectName().toStdString() << c.text;
    }
}

TEST_F(AlamEditorTest, CheckInputRefusesBlankTextsAndOneTimeMomentsInThePast) {
    TFormAddAlam dlg;
    const struct {
        QRadioButton* kind;
        const char* hour;
        const char* minute;
        QDate date;
        const char* text;
        const char* error; // nullptr: passes
    } cases[] = {
        {dlg.rbOnly(), "9", "30", QDate(2024, 3, 15), "开会", "设置的提醒时间不能早于现在时间！"},
        {dlg.rbOnly(), "9", "31", QDate(2024, 3, 15), "开会", nullptr},
        {dlg.rbOnly(), "23", "59", QDate(2024, 3, 14), "开会", "设置的提醒时间不能早于现在时间！"},
        {dlg.rbOnly(), "0", "0", QDate(2024, 3, 16), "开会", nullptr},
        {dlg.rbOnly(), "10", "0", QDate(2024, 3, 15), "  \n\t ", "提醒内容不能为空！"},
        {dlg.rbDay(), "1", "0", QDate(2024, 3, 1), "每天", nullptr},
        {dlg.rbDay(), "1", "0", QDate(2024, 3, 1), " ", "提醒内容不能为空！"},
        {dlg.rbWeek(), "1", "0", QDate(2024, 3, 1), "", "提醒内容不能为空！"},
        {dlg.rbMonth(), "1", "0", QDate(2024, 3, 1), "每月", nullptr},
        // An empty box counts as 0 (OK given with Enter before the box was left).
        {dlg.rbOnly(), "", "", QDate(2024, 3, 16), "明天零点", nullptr},
        {dlg.rbOnly(), "", "", QDate(2024, 3, 15), "今天零点", "设置的提醒时间不能早于现在时间！"},
    };
    for (const auto& c : cases) {
        c.kind->click();
        dlg.edtHour()->setText(QString::fromUtf8(c.hour));
        dlg.edtMinute()->setText(QString::fromUtf8(c.minute));
        dlg.DBDay()->setDate(c.date);
        dlg.mmoNote()->setPlainText(QString::fromUtf8(c.text));
        QString error;
        try {
            dlg.CheckInput();
        } catch (const EAppError& e) {
            error = e.Message();
        }
        EXPECT_EQ(error, c.error ? QString::fromUtf8(c.error) : QString()) << c.text << " " << c.hour;
    }
}

TEST_F(AlamEditorTest, OkStoresEveryValueForEveryKind) {
    const struct {
        int kind;
        const char* day; // typed into the day row; nullptr: the row is never shown
        int thenKind;    // chosen afterwards (-1: none)
        const char* stored;
    } cases[] = {
        {akWeekly, "3", akDaily, "1|8|5|3|2024-03-20|  早上好 \n|0"},
        {akDaily, nullptr, -1, "1|8|5|1|2024-03-20|  早上好 \n|0"},
        {akMonthly, "31", -1, "3|8|5|31|2024-03-20|  早上好 \n|0"},
        {akWeekly, "7", -1, "2|8|5|7|2024-03-20|  早上好 \n|0"},
    };
    for (const auto& c : cases) {
        ExecSql(QStringLiteral("delete from Alam"));
        TFormAddAlam dlg;
        dlg.DBDay()->setDate(QDate(2024, 3, 20));
        QRadioButton* kinds[] = {dlg.rbOnly(), dlg.rbDay(), dlg.rbWeek(), dlg.rbMonth()};
        kinds[c.kind]->click();
        if (c.day) dlg.edtMonWeek()->setText(QString::fromUtf8(c.day));
        if (c.thenKind >= 0) kinds[c.thenKind]->click();
        dlg.edtHour()->setText(QStringLiteral("8"));
        dlg.edtMinute()->setText(QStringLiteral("5"));
        dlg.mmoNote()->setPlainText(QStringLiteral("  早上好 \n"));
        dlg.btnOK()->click();
        EXPECT_EQ(dlg.result(), QDialog::Accepted) << c.stored;
        EXPECT_EQ(Stored(), QStringList{QString::fromUtf8(c.stored)});
    }
    EXPECT_TRUE(messages.shown.empty()) << messages.Texts().join(QLatin1Char('\n')).toStdString();
}

TEST_F(AlamEditorTest, TheChangeDialogLoadsInItsOrderSoTheStoredDaySurvives) {
    const struct {
        int kind, day;
        QDate date;
        QRadioButton* (TFormBaseAlam::*button)() const;
        bool dateRow, dayRow;
        const char* word;
        const char* after;
    } cases[] = {
        {akWeekly, 5, QDate(2024, 1, 2), &TFormBaseAlam::rbWeek, false, true, "每周", "提醒"},
        {akMonthly, 31, QDate(2024, 1, 2), &TFormBaseAlam::rbMonth, false, true, "每月", "号提醒"},
        {akDaily, 4, QDate(2024, 1, 2), &TFormBaseAlam::rbDay, false, false, nullptr, nullptr},
        {akOnce, 1, QDate(2024, 4, 2), &TFormBaseAlam::rbOnly, true, false, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        const QString id = AddReminder(c.kind, 14, 7, c.day, c.date, QStringLiteral("第一行\n第二行 'x'"));
        TFormModAlam dlg;
        dlg.AlamId = id;
        dlg.show();
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("修改提醒"));
        EXPECT_EQ(dlg.focusWidget(), dlg.edtHour());
        EXPECT_EQ(dlg.edtHour()->text(), QStringLiteral("14"));
        EXPECT_EQ(dlg.edtMinute()->text(), QStringLiteral("7"));
        EXPECT_TRUE((dlg.*c.button)()->isChecked());
        EXPECT_EQ(dlg.edtMonWeek()->text(), QString::number(c.day));
        EXPECT_EQ(dlg.DBDay()->date(), c.date);
        EXPECT_EQ(dlg.DBDay()->isVisibleTo(&dlg), c.dateRow);
        EXPECT_EQ(dlg.pnlMonWeek()->isVisibleTo(&dlg), c.dayRow);
        if (c.dayRow) {
            EXPECT_EQ(dlg.LabMonWord()->text(), QString::fromUtf8(c.word));
            EXPECT_EQ(dlg.LabModWordAlam()->text(), QString::fromUtf8(c.after));
        }
        EXPECT_EQ(dlg.mmoNote()->toPlainText(), QStringLiteral("第一行\n第二行 'x'"));
    }
}

TEST_F(AlamEditorTest, ChangingWritesTheReminderBackUnseen) {
    const QString id = AddReminder(akWeekly, 14, 7, 5, QDate(2024, 1, 2), QStringLiteral("旧的"));
    gAlam->MarkSeen(id);
    TFormModAlam dlg;
    dlg.AlamId = id;
    dlg.show();
    // Choosing "只一次" puts the date to today; 9:30 today has passed at 9:30:20.
    dlg.rbOnly()->click();
    EXPECT_EQ(dlg.DBDay()->date(), QDate(2024, 3, 15));
    dlg.edtHour()->setText(QStringLiteral("9"));
    dlg.edtMinute()->setText(QStringLiteral("30"));
    dlg.mmoNote()->setPlainText(QStringLiteral("新的 @#@ 'x'"));
    dlg.btnOK()->click();
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("设置的提醒时间不能早于现在时间！")});
    EXPECT_TRUE(dlg.isVisible());
    dlg.edtMinute()->setText(QStringLiteral("45"));
    dlg.btnOK()->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(Stored(), QStringList{QStringLiteral("0|9|45|5|2024-03-15|新的 @#@ 'x'|0")});
}

TEST_F(AlamEditorTest, ShowAddAndShowModReportTheirResult) {
    WhenModal([] {
        auto* dlg = qobject_cast<TFormAddAlam*>(ActiveModal());
        ASSERT_NE(dlg, nullptr);
        dlg->btnCancel()->click();
    });
    EXPECT_EQ(ShowAddAlam(), int(QDialog::Rejected));
    EXPECT_TRUE(Stored().isEmpty());

    const QString id = AddReminder(akDaily, 6, 0, 1, QDate(2024, 1, 2), QStringLiteral("起床"));
    WhenModal([] {
        auto* dlg = qobject_cast<TFormModAlam*>(ActiveModal());
        ASSERT_NE(dlg, nullptr);
        dlg->edtHour()->setText(QStringLiteral("7"));
        dlg->btnOK()->click();
    });
    EXPECT_EQ(ShowModAlam(id), int(QDialog::Accepted));
    EXPECT_EQ(Stored(), QStringList{QStringLiteral("1|7|0|1|2024-01-02|起床|0")});

    // A reminder that is gone cannot be changed: the dialog says so and closes.
    gAlam->Delete(id);
    messages.Clear();
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget* w = ActiveModal()) static_cast<QDialog*>(w)->reject();
    });
    guard.start(5000); // only a safety net against a dialog that stays open
    EXPECT_EQ(ShowModAlam(id), int(QDialog::Rejected));
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("这条提醒已经不存在了！")});
    EXPECT_TRUE(Stored().isEmpty());
}

TEST_F(AlamEditorTest, ThePresetButtonReplacesTheTextOnlyWhenAPresetIsChosen) {
    AddPreset(QStringLiteral("交房租"));
    const QString chosen = QStringLiteral("It's 开会@#@\n带本子");
    AddPreset(chosen);
    TFormAddAlam dlg;
    dlg.mmoNote()->setPlainText(QStringLiteral("原来的"));
    WhenModal([] {
        auto* picker = qobject_cast<TFormAlamContext*>(ActiveModal());
        ASSERT_NE(picker, nullptr);
        picker->btnCancel()->click();
    });
    dlg.btnAlamContext()->click();
    EXPECT_EQ(dlg.mmoNote()->toPlainText(), QStringLiteral("原来的"));

    WhenModal([] {
        auto* picker = qobject_cast<TFormAlamContext*>(ActiveModal());
        ASSERT_NE(picker, nullptr);
        ASSERT_EQ(picker->lv1()->topLevelItemCount(), 2);
        picker->lv1()->topLevelItem(1)->setSelected(true);
        picker->btnOK()->click();
    });
    dlg.btnAlamContext()->click();
    EXPECT_EQ(dlg.mmoNote()->toPlainText(), chosen);
}
