// The sixteen-lane convolution against a direct one in double precision: a kernel of a few
// taps, some wrapping round the end, on weighted signs that stop short of the length, so
// that every step's ordering and twiddles show in the moduli counted.
#include "tester/lane_convolution.h"
#include "tests/tester/random_sources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <complex>
#include <numbers>
#include <utility>
#include <vector>

namespace zentrope {
namespace {

double Uniform01(Xoshiro256& g) {
    return static_cast<double>(NextWord(g) >> 11) * 0x1p-53;
}

using Taps = std::vector<std::pair<uint64_t, std::complex<double>>>;

std::vector<std::complex<double>> TransformDividedBySize(const Taps& taps, uint64_t size) {
    std::vector<std::complex<double>> k(size);
    for (uint64_t f = 0; f < size; ++f)
        for (const auto& [m, b] : taps)
            k[f] += b *
                    std::polar(1.0, -2 * std::numbers::pi * static_cast<double>(m * f % size) /
                                        static_cast<double>(size)) /
                    static_cast<double>(size);
    return k;
}

std::vector<double> DirectSquaredModuli(const BitSequence& s,
                                        const std::vector<std::complex<double>>& w,
                                        const Taps& taps, uint64_t size, uint64_t count) {
    std::vector<double> moduli;
    for (uint64_t t = 0; t < count; ++t) {
        std::complex<double> sum;
        for (const auto& [m, b] : taps) {
            const uint64_t j = (t + size - m) % size;
            if (j < w.size())
                sum += b * w[j] * (BitAt(s, j) != 0 ? 1.0 : -1.0);
        }
        moduli.push_back(std::norm(sum));
    }
    return moduli;
}

TEST(LaneConvolution, CountsTheModuliOfADirectConvolution) {
    Xoshiro256 g = SeedXoshiro(31);
    for (const uint64_t size : {uint64_t{1} << 12, uint64_t{1} << 13, uint64_t{3} << 12}) {
        const uint64_t length = size - 37;
        const BitSequence s = GeneratorBits(g, length);
        std::vector<std::complex<double>> w;
        for (uint64_t j = 0; j < length; ++j)
            w.push_back(std::polar(0.5 + Uniform01(g), 2 * std::numbers::pi * Uniform01(g)));
        const Taps taps = {
            {0, {0.7, 0.1}}, {3, {-0.4, 0.2}}, {size - 5, {0.25, -0.6}}, {size / 2 + 7, {0, 0.3}}};
        const LaneConvolution plan = MakeLaneConvolution(TransformDividedBySize(taps, size), w);
        for (const uint64_t count : {size / 3 + 7, size}) {
            std::vector<double> moduli = DirectSquaredModuli(s, w, taps, size, count);
            std::sort(moduli.begin(), moduli.end());
            for (size_t i = count / 10; i < count; i += count / 4) {
                while (moduli[i] - moduli[i - 1] < 1e-4 * moduli[i])
                    ++i;
                const double threshold = (moduli[i - 1] + moduli[i]) / 2;
                BandCount c = MakeBandCount(threshold, 0);
                LaneConvolutionCount(s, plan, count, c);
                EXPECT_EQ(c.below, i) << "size " << size << ", count " << count;
                EXPECT_TRUE(c.near.empty());
            }
        }
    }
}

} // namespace
} // namespace zentrope
