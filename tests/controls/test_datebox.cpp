// Tab leaves a date box for the next field instead of walking through its sections.
#include "controls/DateBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

TEST(DateBox, TabMovesToTheNextFieldAndBackTabToThePrevious) {
    QWidget form;
    auto* before = new QLineEdit(&form);
    auto* date = new TDateBox(&form);
    auto* after = new QLineEdit(&form);
    auto* layout = new QVBoxLayout(&form);
    layout->addWidget(before);
    layout->addWidget(date);
    layout->addWidget(after);
    date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    date->setDate(QDate(2024, 3, 5));
    form.show();
    QApplication::setActiveWindow(&form);
    date->setFocus();
    ASSERT_TRUE(date->hasFocus());
    date->setCurrentSection(QDateTimeEdit::YearSection);

    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(date, &tab);
    EXPECT_TRUE(after->hasFocus());

    date->setFocus();
    date->setCurrentSection(QDateTimeEdit::DaySection);
    QKeyEvent backTab(QEvent::KeyPress, Qt::Key_Backtab, Qt::ShiftModifier);
    QApplication::sendEvent(date, &backTab);
    EXPECT_TRUE(before->hasFocus());
    EXPECT_EQ(date->date(), QDate(2024, 3, 5));
}
