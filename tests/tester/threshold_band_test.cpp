// The band count against its definition: values on both edges of the band, in whole blocks
// and in the tail after them, counted and noted once each, at their own indices.
#include "tester/threshold_band.h"

#include <gtest/gtest.h>

#include <complex>
#include <vector>

namespace zentrope {
namespace {

TEST(ThresholdBand, CountsUnderTheBandAndNotesWhatIsInsideIt) {
    BandCount c = MakeBandCount(962, 62.0 / 962);
    ASSERT_EQ(c.low, 900.0f);
    ASSERT_EQ(c.high, 1024.0f);
    // Moduli whose squares are exact: 900 and 1024 sit on the edges.
    const std::vector<float> moduli = {29.75f, 30, 31, 31.75f, 32, 0, 40, 1e-15f};
    std::vector<std::complex<float>> values;
    uint64_t below = 0;
    std::vector<uint64_t> near;
    for (uint64_t i = 0; i < 300; ++i) {
        const float x = moduli[(i * 7 + i / 13) % moduli.size()];
        values.emplace_back(i % 2 == 0 ? x : 0, i % 2 == 0 ? 0 : -x);
        below += x * x < 900 ? 1 : 0;
        if (x * x >= 900 && x * x < 1024)
            near.push_back(1000 + i);
    }
    CountInBand(values, 1000, c);
    EXPECT_EQ(c.below, below);
    EXPECT_EQ(c.near, near);
    EXPECT_GT(below, 0u);
    EXPECT_GT(near.size(), 0u);
}

} // namespace
} // namespace zentrope
