#include "results/stats/cramer_von_mises.h"
#include "results/stats/goodness_of_fit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <utility>
#include <vector>

using namespace zentrope;

TEST(CramerVonMises, PublishedPercentagePoints) {
    // Anderson and Darling (1952), table 1: the upper 10%, 5% and 1% points of W^2.
    EXPECT_NEAR(CramerVonMisesTail(0.34730), 0.10, 1e-4);
    EXPECT_NEAR(CramerVonMisesTail(0.46136), 0.05, 1e-4);
    EXPECT_NEAR(CramerVonMisesTail(0.74346), 0.01, 1e-5);
    EXPECT_EQ(CramerVonMisesTail(0.0), 1.0);
    EXPECT_NEAR(CramerVonMisesTail(1e-3), 1.0, 1e-12);
    EXPECT_EQ(CramerVonMisesTail(1e6), 0.0);
    EXPECT_TRUE(std::isnan(CramerVonMisesTail(std::nan(""))));
}

TEST(CramerVonMises, SlTailMatchesSimulatedRows) {
    // The share of simulated uniform rows whose SL exceeds a threshold, for a few row lengths.
    std::mt19937_64 generator(20261207);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    constexpr int32_t Draws = 40000;
    // Simulation error of a 1% tail from 40,000 draws is about 5%; the law's own error
    // shrinks with n (see SlTail).
    const std::vector<std::pair<int32_t, double>> lengths = {{10, 0.3}, {20, 0.15}, {100, 0.1}};
    for (const auto& [n, tolerance] : lengths) {
        std::vector<double> sl(Draws);
        std::vector<double> row(static_cast<size_t>(n));
        for (double& s : sl) {
            for (double& v : row)
                v = uniform(generator);
            SortPValues(row.data(), n);
            s = SlPercent(row.data(), n);
        }
        for (const double threshold : {0.05, 0.01}) {
            std::vector<double> sorted = sl;
            const auto at = static_cast<size_t>((1.0 - threshold) * Draws);
            std::nth_element(sorted.begin(), sorted.begin() + at, sorted.end());
            EXPECT_NEAR(SlTail(n, sorted[at]) / threshold, 1.0, tolerance) << n << " " << threshold;
        }
    }
    EXPECT_TRUE(std::isnan(SlTail(1, 10.0)));
}
