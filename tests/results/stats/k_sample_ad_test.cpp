#include "results/stats/k_sample_ad.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace zentrope;

namespace {
// Scholz and Stephens' example: smoothness of paper measured by four laboratories.
const std::vector<std::vector<double>> Laboratories = {
    {38.7, 41.5, 43.8, 44.5, 45.5, 46.0, 47.7, 58.0},
    {39.2, 39.3, 39.7, 41.4, 41.8, 42.9, 43.3, 45.8},
    {34.0, 35.0, 39.0, 40.0, 43.0, 43.0, 44.0, 45.0},
    {34.0, 34.8, 34.8, 35.4, 37.2, 37.8, 41.2, 42.8},
};
} // namespace

TEST(KSampleAd, PublishedLaboratoryExample) {
    const KSampleAd test = KSampleAndersonDarling(Laboratories);
    EXPECT_EQ(test.k, 4);
    EXPECT_EQ(test.n, 32);
    // Published: A2akN = 8.3926, sigma_N = 1.2038, P about 0.0022.
    EXPECT_NEAR(test.a2akn, 8.3926, 0.5e-4);
    EXPECT_NEAR(test.sigma, 1.2038, 0.5e-4);
    EXPECT_NEAR(test.p_value, 0.0022, 0.5e-4);
    // The same figures from the formulas in exact rational arithmetic.
    EXPECT_NEAR(test.a2akn, 8.392609326838489, 1e-12);
    EXPECT_NEAR(test.sigma, 1.203766384044316, 1e-12);
    EXPECT_NEAR(test.t, 4.479780627135342, 1e-11);
}

TEST(KSampleAd, SmallCasesInExactArithmetic) {
    struct Case {
        std::vector<std::vector<double>> samples;
        double a2akn, sigma;
    };
    const std::vector<Case> cases = {
        {{{1, 2}, {3, 4}}, 1.7272727272727273, 0.4714045207910317},
        {{{0.1, 0.2, 0.2, 0.5}, {0.2, 0.3, 0.5}}, 0.7605263157894737, 0.5894978507589173},
        {{{0.5, 0.1, 0.9}, {0.2, 0.6}, {0.3, 0.3, 0.8}}, 0.7846758594871155, 0.7861966956265384},
    };
    for (const Case& c : cases) {
        const KSampleAd test = KSampleAndersonDarling(c.samples);
        EXPECT_NEAR(test.a2akn, c.a2akn, 1e-13) << c.samples.size();
        EXPECT_NEAR(test.sigma, c.sigma, 1e-13) << c.samples.size();
    }
}

TEST(KSampleAd, LeavesOutNotANumberAndEmptySamples) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<std::vector<double>> samples = Laboratories;
    samples[1].push_back(nan);
    samples.emplace_back();
    samples.push_back({nan});
    const KSampleAd test = KSampleAndersonDarling(samples);
    EXPECT_EQ(test.k, 4);
    EXPECT_NEAR(test.a2akn, 8.392609326838489, 1e-12);

    EXPECT_TRUE(
        std::isnan(KSampleAndersonDarling(std::vector<std::vector<double>>{{1, 2, 3, 4}}).a2akn));
    EXPECT_TRUE(
        std::isnan(KSampleAndersonDarling(std::vector<std::vector<double>>{{1}, {2, 3}}).p_value));
    // All values equal: nothing tells the samples apart.
    const KSampleAd tied =
        KSampleAndersonDarling(std::vector<std::vector<double>>{{0.5, 0.5}, {0.5, 0.5}});
    EXPECT_EQ(tied.a2akn, 0.0);
}

TEST(KSampleAd, PValueFollowsTheCriticalPointTable) {
    // Table 1 of the paper for m = 1, and the normal quantiles its rows tend to.
    const double alphas[] = {0.25, 0.10, 0.05, 0.025, 0.01};
    const double m1[] = {0.326, 1.225, 1.960, 2.719, 3.752};
    const double normal[] = {0.674, 1.282, 1.645, 1.960, 2.326};
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(KSampleAdPValue(m1[i], 1) / alphas[i], 1.0, 0.01) << alphas[i];
        EXPECT_NEAR(KSampleAdPValue(normal[i], 1000000000) / alphas[i], 1.0, 0.01) << alphas[i];
    }
    EXPECT_GT(KSampleAdPValue(-1.0, 3), 0.5);
    EXPECT_LT(KSampleAdPValue(8.0, 3), 1e-4);
    EXPECT_TRUE(std::isnan(KSampleAdPValue(1.0, 0)));
}
