#include "results/stats/exact_ks.h"
#include "results/stats/goodness_of_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace zentrope;

TEST(ExactKs, PublishedDistributionValues) {
    // Marsaglia, Tsang and Wang's own example, K(10, 0.274).
    EXPECT_NEAR(KolmogorovCdf(10, 0.274), 0.6284796154565043, 1e-14);
    EXPECT_NEAR(1.0 - KsExactPValue(10, 0.274), 0.6284796154565043, 1e-14);
    // Reference values of their procedure for large n, good to 13 places; the last two lie
    // in the tail that is taken from Smirnov's formula.
    EXPECT_NEAR(1.0 - KsExactPValue(2000, 0.04), 0.9967694319171325, 1e-13);
    EXPECT_NEAR(1.0 - KsExactPValue(599, 0.0357), 0.57975087884804655, 1e-13);
    EXPECT_NEAR(1.0 - KsExactPValue(10000, 0.01), 0.73178087203705255, 1e-13);
    EXPECT_NEAR(KsExactPValue(2000, 0.06), 1.0 - 0.9999989395692991, 1e-13);
    EXPECT_NEAR(KsExactPValue(16000, 0.016), 1.0 - 0.9994523491380971, 1e-12);
    // Twice Smirnov's tail at 40 digits (mpmath), an upper bound of the true value that is
    // closer to it than the 13 places above.
    EXPECT_NEAR(KsExactPValue(16000, 0.016) / 5.476508617308035e-4, 1.0, 1e-10);
    EXPECT_NEAR(KsExactPValue(2000, 0.06) / 1.0604306943365793e-6, 1.0, 1e-10);
}

TEST(ExactKs, ClosedFormsAtTheEnds) {
    // P(D_n < d) = n! (2d - 1/n)^n for 1/(2n) <= d <= 1/n, P(D_n >= d) = 2 (1 - d)^n for
    // d >= 1 - 1/n, and for n = 1 the latter holds from d = 1/2 on.
    EXPECT_NEAR(KolmogorovCdf(3, 0.3), 0.11377777777777778, 1e-15);
    EXPECT_NEAR(KolmogorovCdf(10, 0.08), 2.194196594688e-6, 1e-18);
    EXPECT_NEAR(KsExactPValue(10, 0.92) / 2.147483648e-11, 1.0, 1e-12);
    EXPECT_NEAR(KsExactPValue(10, 0.95) / 1.953125e-13, 1.0, 1e-12);
    EXPECT_NEAR(KsExactPValue(1, 0.75), 0.5, 1e-15);
    EXPECT_NEAR(KsExactPValue(1, 0.6), 0.8, 1e-15);
    EXPECT_NEAR(KsExactPValue(2, 0.7), 2 * 0.3 * 0.3, 1e-15);
}

TEST(ExactKs, MatrixAndSmirnovTailAgreeWhereTheyMeet) {
    // Two independent formulas for the same probability, where the switch is made and
    // beyond; the share of crossing both bands falls like exp(-6 n d^2).
    for (const int32_t n : {10, 40, 100, 1000}) {
        for (const double nd2 : {4.0, 5.0}) {
            const double d = std::sqrt(nd2 / n);
            const double matrix = 1.0 - KolmogorovCdf(n, d);
            const double smirnov = 2.0 * SmirnovUpperTail(n, d);
            EXPECT_NEAR(smirnov / matrix, 1.0, 1e-9) << n << " " << nd2;
        }
    }
}

TEST(ExactKs, ApproximationTakesOverSmoothlyForManyValues) {
    for (const double d : {0.004, 0.0125}) {
        const double exact = KsExactPValue(20000, d);
        EXPECT_NEAR(KsExactPValue(20001, d) / exact, 1.0, 3e-3) << d;
    }
}

TEST(ExactKs, RangeAndFaultyArguments) {
    EXPECT_EQ(KsExactPValue(100, 0.0), 1.0);
    EXPECT_EQ(KsExactPValue(100, 0.005), 1.0); // D_n >= 1/(2n) always
    EXPECT_EQ(KsExactPValue(100, 1.0), 0.0);
    EXPECT_EQ(KsExactPValue(100, 1.5), 0.0);
    EXPECT_TRUE(std::isnan(KsExactPValue(0, 0.1)));
    EXPECT_TRUE(std::isnan(KsExactPValue(10, std::numeric_limits<double>::quiet_NaN())));
    // The p-value falls as d grows, across the switch of formulas.
    double previous = 1.0;
    for (double d = 0.0005; d < 0.2; d += 0.0005) {
        const double p = KsExactPValue(1000, d);
        EXPECT_LE(p, previous) << d;
        previous = p;
    }
}

TEST(ExactKs, DistanceOfASampleAndWhereItOccurs) {
    const std::vector<double> low = {0.1, 0.5, 0.8};
    const KsDistance spread = KsDistanceOf(low.data(), 3);
    EXPECT_NEAR(spread.d, 0.7 / 3, 1e-15); // 1/3 - 0.1
    EXPECT_EQ(spread.at, 0);
    const std::vector<double> high = {0.2, 0.3, 0.95, 0.96};
    const KsDistance gap = KsDistanceOf(high.data(), 4);
    EXPECT_NEAR(gap.d, 0.45, 1e-15); // 0.95 - 2/4
    EXPECT_EQ(gap.at, 2);
}
