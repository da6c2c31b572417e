#include "tester/range_values.h"

#include <gtest/gtest.h>

namespace zentrope {
namespace {

std::vector<int64_t> Values(int32_t min, int32_t max, int32_t step) {
    return ExpandRange({min, max, step}).values;
}

TEST(RangeValues, PositiveStepCountsUp) {
    EXPECT_EQ(Values(1, 3, 1), (std::vector<int64_t>{1, 2, 3}));
    EXPECT_EQ(Values(1, 10, 4), (std::vector<int64_t>{1, 5, 9}));
    EXPECT_EQ(Values(2, 12, 6), (std::vector<int64_t>{2, 8}));
    EXPECT_EQ(Values(-2, 0, 1), (std::vector<int64_t>{-2, -1, 0}));
}

TEST(RangeValues, NegativeStepMultipliesByPowersOfTwo) {
    EXPECT_EQ(Values(512, 2048, -1), (std::vector<int64_t>{512, 1024, 2048}));
    EXPECT_EQ(Values(1024, 4096, -2), (std::vector<int64_t>{1024, 4096}));
    EXPECT_EQ(Values(1, 32, -1), (std::vector<int64_t>{1, 2, 4, 8, 16, 32}));
    EXPECT_EQ(Values(3, 20, -1), (std::vector<int64_t>{3, 6, 12}));
}

TEST(RangeValues, DegenerateRangesTakeMinAloneOrNothing) {
    EXPECT_EQ(Values(5, 9, 0), (std::vector<int64_t>{5}));
    EXPECT_EQ(Values(0, 100, -1), (std::vector<int64_t>{0})); // 0 never grows
    EXPECT_EQ(Values(-4, 100, -1), (std::vector<int64_t>{-4}));
    EXPECT_TRUE(Values(9, 5, 1).empty());
}

TEST(RangeValues, HugeRangesStopWithoutOverflowOrEndlessLoops) {
    const RangeValues wide = ExpandRange({0, INT32_MAX, 1});
    EXPECT_EQ(wide.values.size(), MaxRangeValues);
    EXPECT_TRUE(wide.capped);
    EXPECT_EQ(Values(INT32_MAX - 1, INT32_MAX, 5), (std::vector<int64_t>{INT32_MAX - 1}));
    EXPECT_EQ(Values(INT32_MIN, INT32_MIN + 2, INT32_MAX), (std::vector<int64_t>{INT32_MIN}));
    EXPECT_EQ(Values(1, INT32_MAX, INT32_MIN), (std::vector<int64_t>{1}));
    const RangeValues doubling = ExpandRange({1, INT32_MAX, -1});
    EXPECT_EQ(doubling.values.size(), 31u);
    EXPECT_EQ(doubling.values.back(), int64_t{1} << 30);
    EXPECT_FALSE(doubling.capped);
}

} // namespace
} // namespace zentrope
