#include "results/stats/incomplete_gamma.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace zentrope;

namespace {
// Q(9/2, x) in closed form: erfc(sqrt x) + e^-x sum_{j=1..4} x^(j-1/2) / Gamma(j+1/2).
double ClosedFormQ92(double x) {
    double sum = 0;
    for (int j = 1; j <= 4; ++j)
        sum += std::pow(x, j - 0.5) / std::tgamma(j + 0.5);
    return std::erfc(std::sqrt(x)) + std::exp(-x) * sum;
}
} // namespace

TEST(UpperGammaQ, NistWorkedExamples) {
    EXPECT_NEAR(UpperGammaQ(1.5, 0.5), 0.801252, 0.5e-6);          // block frequency
    EXPECT_NEAR(UpperGammaQ(1.5, 4.882605 / 2), 0.180598, 0.5e-6); // longest run
    EXPECT_NEAR(UpperGammaQ(1.0, 2.133333 / 2), 0.344154, 0.5e-6); // non-overlapping template
    EXPECT_NEAR(UpperGammaQ(2.0, 0.8), 0.808792, 0.5e-6);          // serial, first
    EXPECT_NEAR(UpperGammaQ(1.0, 0.4), 0.670320, 0.5e-6);          // serial, second
    EXPECT_NEAR(UpperGammaQ(4.5, 16.919 / 2), 0.05, 1e-5);         // chi-square table, 9 d.f.
}

TEST(UpperGammaQ, ClosedFormsAndHighPrecisionValues) {
    for (const double x : {0.01, 0.3, 1.0, 4.0, 5.5, 12.0, 40.0}) {
        EXPECT_NEAR(UpperGammaQ(1.0, x) / std::exp(-x), 1.0, 1e-13) << x;
        EXPECT_NEAR(UpperGammaQ(0.5, x) / std::erfc(std::sqrt(x)), 1.0, 1e-12) << x;
        EXPECT_NEAR(UpperGammaQ(4.5, x) / ClosedFormQ92(x), 1.0, 1e-12) << x;
    }
    // Reference values computed to 30 digits (mpmath).
    EXPECT_NEAR(UpperGammaQ(4.5, 200.0) / 1.36991250196626554e-80, 1.0, 1e-12);
    EXPECT_NEAR(UpperGammaQ(4.5, 0.3), 0.999933618928435200, 1e-15);
    EXPECT_NEAR(UpperGammaQ(30.0, 25.0), 0.817896084022544890, 1e-13);
    EXPECT_NEAR(UpperGammaQ(100.0, 140.0) / 0.000161057174712555858, 1.0, 1e-11);
}

TEST(UpperGammaQ, Edges) {
    EXPECT_EQ(UpperGammaQ(4.5, 0.0), 1.0);
    EXPECT_EQ(UpperGammaQ(4.5, std::numeric_limits<double>::infinity()), 0.0);
    EXPECT_TRUE(std::isnan(UpperGammaQ(0.0, 1.0)));
    EXPECT_TRUE(std::isnan(UpperGammaQ(4.5, -1.0)));
    EXPECT_TRUE(std::isnan(UpperGammaQ(4.5, std::numeric_limits<double>::quiet_NaN())));
}
