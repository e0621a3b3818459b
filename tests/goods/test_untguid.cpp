// Keys of goods records.
#include "common/UException.h"
#include "goods/UntGUID.h"

#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

TEST(UntGUID, NewGuidTextHasThePrintedForm) {
    const QRegularExpression form(
        QStringLiteral("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"));
    for (int i = 0; i < 50; ++i) {
        const QString g = NewGuidText();
        EXPECT_EQ(g.size(), 36);
        EXPECT_TRUE(form.match(g).hasMatch()) << g.toStdString();
        // Hyphens at positions 9, 14, 19 and 24 counting from 1.
        for (int pos : {9, 14, 19, 24})
            EXPECT_EQ(g[pos - 1], QLatin1Char('-')) << g.toStdString();
        EXPECT_FALSE(g.contains(QLatin1Char('{')) || g.contains(QLatin1Char('}')));
    }
}

TEST(UntGUID, NewGuidTextIsNewEveryTime) {
    QSet<QString> seen;
    for (int i = 0; i < 10000; ++i)
        seen.insert(NewGuidText());
    EXPECT_EQ(seen.size(), 10000);
}

struct CutCase {
    const char* text;
    int n;
    const char* left;
    const char* right;
};

TEST(UntGUID, LeftTextAndRightText) {
    const CutCase cases[] = {
        {"{ABC}", 4, "{ABC", "ABC}"},    {"abc", 0, "", ""}, {"abc", 5, "abc", "abc"},
        {"商品编号", 2, "商品", "编号"}, {"", 3, "", ""},    {"abc", -1, "", ""},
    };
    for (const auto& c : cases) {
        const QString t = QString::fromUtf8(c.text);
        EXPECT_EQ(LeftText(t, c.n), QString::fromUtf8(c.left)) << c.text << " " << c.n;
        EXPECT_EQ(RightText(t, c.n), QString::fromUtf8(c.right)) << c.text << " " << c.n;
    }
}
