#include <gtest/gtest.h>

#include <vector>

#include "shell/cAverageHistory.h"

namespace {

TEST(cAverageHistory, KeepsTheLastValuesAndTheirAverage) {
    cAverageHistory history(3, 10);
    EXPECT_EQ(history.GetAverage(), 0);
    for (int32_t v : {1, 2, 3, 4}) history.Add(v);
    EXPECT_EQ(history.Values(), (std::vector<int32_t>{2, 3, 4}));
    EXPECT_EQ(history.GetAverage(), 3);
    // Means after each addition: 1, 2 (1.5), 2, 3; the oldest kept is 2.
    EXPECT_EQ(history.GetTrend(), 1);
    history.Clear();
    EXPECT_EQ(history.GetAverage(), 0);
    EXPECT_EQ(history.GetTrend(), 0);
}

TEST(cAverageHistory, AveragesRoundHalvesAwayFromZero) {
    const struct {
        std::vector<int32_t> values;
        int32_t average;
    } cases[] = {{{1, 2}, 2}, {{-1, -2}, -2}, {{1, 1, 2}, 1}, {{-1, -1, -2}, -1}, {{0, 1, 1, 1}, 1}, {{0, -1}, -1}};
    for (const auto& c : cases) {
        cAverageHistory history(8, 100);
        for (int32_t v : c.values) history.Add(v);
        EXPECT_EQ(history.GetAverage(), c.average);
    }
}

TEST(cAverageHistory, TheTrendIsLimited) {
    cAverageHistory up(4, 5);
    for (int32_t v : {0, 100}) up.Add(v);
    EXPECT_EQ(up.GetTrend(), 5);  // means 0, 50
    cAverageHistory down(4, 5);
    for (int32_t v : {0, -3}) down.Add(v);
    EXPECT_EQ(down.GetTrend(), -2);  // means 0, -1.5 -> -2
}

TEST(cAverageHistory, ACapacityBelowOneHoldsOneValue) {
    cAverageHistory history(0, 10);
    history.Add(4);
    history.Add(9);
    EXPECT_EQ(history.Values(), (std::vector<int32_t>{9}));
    EXPECT_EQ(history.GetAverage(), 9);
}

}  // namespace
