#include "results/stats/goodness_of_fit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

using namespace zentrope;

namespace {

struct Figures {
    double ks, ad, sl;
};

Figures FiguresOf(std::vector<double> values) {
    const auto n = static_cast<int32_t>(values.size());
    SortPValues(values.data(), n);
    return {KsPValue(values.data(), n), AdPValue(values.data(), n), SlPercent(values.data(), n)};
}

constexpr double Places7 = 0.5e-7;

} // namespace

TEST(KolmogorovQ, TailAtTheListedPoints) {
    EXPECT_EQ(KolmogorovQ(0.19999), 1.0);
    EXPECT_EQ(KolmogorovQ(-3.0), 1.0);
    EXPECT_EQ(KolmogorovQ(std::numeric_limits<double>::quiet_NaN()), 1.0);
    EXPECT_NEAR(KolmogorovQ(0.2), 0.99999999983, 0.5e-11);
    EXPECT_NEAR(KolmogorovQ(1.0), 0.2699996717, 0.5e-10);
    EXPECT_NEAR(KolmogorovQ(2.0), 0.000670925, 0.5e-9);
    EXPECT_EQ(KolmogorovQ(std::numeric_limits<double>::infinity()), 0.0);
}

TEST(GoodnessOfFit, FiguresOfTheReferenceArrays) {
    struct Case {
        std::vector<double> values;
        Figures expected;
    };
    const std::vector<Case> cases = {
        {{0.9, 0.1, 0.5}, {0.9883352, 0.9572371, 1.6}},
        {{0.75, 0.5, 0.25}, {0.9758684, 0.9592013, 10.0}},
        {{1.0, 0.0, 0.5}, {0.8095573, 0.0000003, 0.0}},
        {{0.03, 0.01, 0.02}, {0.0020055, 0.0000794, 93.712}},
        {{0.0, 0.0, 0.0}, {0.0012997, 0.0, 100.0}},
        {{1.0, 1.0, 1.0}, {0.0012997, 0.0, 100.0}},
    };
    for (const Case& c : cases) {
        const Figures f = FiguresOf(c.values);
        EXPECT_NEAR(f.ks, c.expected.ks, Places7) << c.values[0];
        EXPECT_NEAR(f.ad, c.expected.ad, Places7) << c.values[0];
        EXPECT_NEAR(f.sl, c.expected.sl, Places7) << c.values[0];
    }
}

TEST(GoodnessOfFit, AndersonDarlingStatisticWithTheFloor) {
    const std::array<double, 3> even = {0.1, 0.5, 0.9};
    const std::array<double, 3> ends = {0.0, 0.5, 1.0};
    const std::array<double, 3> low = {0.01, 0.02, 0.03};
    const std::array<double, 3> zeros = {0.0, 0.0, 0.0};
    EXPECT_NEAR(AdStatistic(even.data(), 3), 0.2725528, Places7);
    EXPECT_NEAR(AdStatistic(ends.data(), 3), 13.7368616, Places7);
    EXPECT_NEAR(AdStatistic(low.data(), 3), 8.3384492, Places7);
    EXPECT_NEAR(AdStatistic(zeros.data(), 3), 135.1551056, Places7);
    EXPECT_NEAR(AdPValue(ends.data(), 3), 2.681e-7, 0.5e-10);
    EXPECT_NEAR(AdPValue(low.data(), 3), 7.938e-5, 0.5e-8);
}

TEST(GoodnessOfFit, AndersonDarlingBranchBoundaries) {
    // Values of the neighbouring formulas differ at the boundaries; the lower one applies.
    EXPECT_NEAR(AdPValueOfStatistic(2.0), 0.0915586248, 1e-9);
    EXPECT_NEAR(AdPValueOfStatistic(std::nextafter(2.0, 3.0)), 0.0918367418, 1e-9);
    EXPECT_NEAR(AdPValueOfStatistic(4.0), 0.0087181768, 1e-10);
    EXPECT_NEAR(AdPValueOfStatistic(std::nextafter(4.0, 5.0)), 0.0087183589, 1e-10);
    EXPECT_EQ(AdPValueOfStatistic(0.0099), 1.0);
    EXPECT_EQ(AdPValueOfStatistic(std::numeric_limits<double>::quiet_NaN()), 1.0);
    EXPECT_NEAR(AdPValueOfStatistic(0.01), 1.0, 1e-12);
}

TEST(GoodnessOfFit, SortIsAscendingAndCallersMustSort) {
    std::vector<double> values = {0.7, -0.2, 0.7, 3.0, 0.0};
    SortPValues(values.data(), 5);
    EXPECT_EQ(values, (std::vector<double>{-0.2, 0.0, 0.7, 0.7, 3.0}));
    SortPValues(values.data(), 0);

    // Descending input gives other figures, silently.
    const std::array<double, 3> descending = {0.9, 0.5, 0.1};
    EXPECT_GT(std::fabs(KsPValue(descending.data(), 3) - 0.9883352), 0.1);
    EXPECT_GT(std::fabs(SlPercent(descending.data(), 3) - 1.6), 100.0);
}

TEST(GoodnessOfFit, SortToleratesNotANumber) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<double> values = {0.5, nan, 0.1, nan, 0.3};
    SortPValues(values.data(), 5);
    EXPECT_EQ(values[0], 0.1);
    EXPECT_EQ(values[1], 0.3);
    EXPECT_EQ(values[2], 0.5);
    EXPECT_TRUE(std::isnan(values[3]) && std::isnan(values[4]));
}

// The bucket sort must give the values in the order of an ordinary sort, whatever their
// ties and clusters; rows with values outside [0, 1] or NaN go the ordinary way.
TEST(GoodnessOfFit, SortWithRoomOrdersLikeAnOrdinarySort) {
    std::mt19937_64 random(7);
    const double specials[] = {0.0,
                               -0.0,
                               1.0,
                               0.5,
                               1e-300,
                               std::nextafter(1.0, 0.0),
                               std::numeric_limits<double>::denorm_min()};
    const double outside[] = {-1.0, 2.0, std::numeric_limits<double>::infinity()};
    SortRoom room(1000);
    for (int n : {2, 3, 17, 1000}) {
        for (int kind = 0; kind < 3; ++kind) {
            std::vector<double> values(static_cast<size_t>(n));
            for (double& v : values) {
                v = std::uniform_real_distribution<double>(0, 1)(random);
                if (random() % 4 == 0)
                    v = specials[random() % std::size(specials)];
                if (kind == 1) // all in one narrow cluster: one long bucket
                    v = 0.5 + v * 1e-6;
            }
            if (kind == 2)
                values[random() % values.size()] = outside[random() % std::size(outside)];
            std::vector<double> expected = values;
            std::sort(expected.begin(), expected.end());
            SortPValuesWithRoom(values.data(), n, room);
            EXPECT_EQ(values, expected) << n << " " << kind;
        }
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<double> with_nan = {0.5, nan, 0.1};
    SortPValuesWithRoom(with_nan.data(), 3, room);
    EXPECT_EQ(with_nan[0], 0.1);
    EXPECT_EQ(with_nan[1], 0.5);
    EXPECT_TRUE(std::isnan(with_nan[2]));
}
