// The status-bar hint ticker, tick by tick.
#include "common/HintTicker.h"

#include <gtest/gtest.h>

namespace {

const QString kTreeHint = QStringLiteral("点右键可以新建、修改和删除分组");

struct TTickCase {
    int tick; // 1-based count of ticks since the start
    const char* shown;
};

// Runs the ticker up to the highest tick in the table and compares the listed ticks.
void CheckTicks(const QString& hint, const std::vector<TTickCase>& table) {
    THintTicker ticker(hint);
    int tick = 0;
    for (const TTickCase& c : table) {
        QString shown;
        while (tick < c.tick) {
            shown = ticker.Tick();
            ++tick;
        }
        EXPECT_EQ(shown, QString::fromUtf8(c.shown)) << "tick " << c.tick;
    }
}

} // namespace

TEST(HintTicker, TreeHintIsThirtyBytesAndThirtyOneTicks) {
    THintTicker ticker(kTreeHint);
    EXPECT_EQ(ticker.Bytes(), 30);
    EXPECT_EQ(ticker.CycleTicks(), 31);
}

TEST(HintTicker, ChineseCharacterAppearsEverySecondTickOverTwoCycles) {
    CheckTicks(kTreeHint, {
                              {1, ""},
                              {2, "点"},
                              {3, "点"},
                              {4, "点右"},
                              {5, "点右"},
                              {12, "点右键可以新"},
                              {13, "点右键可以新"},
                              {14, "点右键可以新建"},
                              {16, "点右键可以新建、"},
                              {29, "点右键可以新建、修改和删除分"},
                              {30, "点右键可以新建、修改和删除分组"},
                              {31, ""},
                              {32, ""},
                              {33, "点"},
                              {61, "点右键可以新建、修改和删除分组"},
                              {62, ""},
                              {63, ""},
                              {64, "点"},
                          });
}

TEST(HintTicker, MixedTextWholeCycle) {
    // "ab" are one byte each, "点" two, "c" one: five bytes, six ticks per cycle.
    CheckTicks(QStringLiteral("ab点c"), {
                                            {1, "a"},
                                            {2, "ab"},
                                            {3, "ab"},
                                            {4, "ab点"},
                                            {5, "ab点c"},
                                            {6, ""},
                                            {7, "a"},
                                            {11, "ab点c"},
                                            {12, ""},
                                        });
}

TEST(HintTicker, ByteLengths) {
    const struct {
        QString text;
        int bytes;
    } cases[] = {
        {QString(), 0},
        {QStringLiteral("abc"), 3},
        {QStringLiteral("点右键"), 6},
        {QStringLiteral("a、b"), 4},
        {QString::fromUtf8("\xF0\x9F\x98\x80"), 2}, // one character outside the basic plane
    };
    for (const auto& c : cases)
        EXPECT_EQ(THintTicker::ByteLength(c.text), c.bytes) << c.text.toStdString();
}

TEST(HintTicker, EmptyHintShowsNothingAndNewHintRestarts) {
    THintTicker ticker;
    EXPECT_EQ(ticker.Tick(), QString());
    EXPECT_EQ(ticker.Tick(), QString());
    ticker.SetHint(QStringLiteral("xy"));
    EXPECT_EQ(ticker.Tick(), QStringLiteral("x"));
    ticker.SetHint(QStringLiteral("zw"));
    EXPECT_EQ(ticker.Tick(), QStringLiteral("z"));
}
