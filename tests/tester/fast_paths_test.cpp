// The word-at-a-time statistics against straightforward bit-by-bit computations of the same
// quantities on random bits, at lengths that end inside a word.
#include "tester/distributions.h"
#include "tester/randomness_tests.h"
#include "tester/uniform_chi_square.h"
#include "tests/tester/random_sources.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <set>

namespace zentrope {
namespace {

TEST(FastPaths, SmallRankAgreesWithElimination) {
    Xoshiro256 g = SeedXoshiro(21);
    for (int k = 0; k < 20000; ++k) {
        const uint64_t word = NextWord(g);
        // Sparse matrices too, so that low ranks occur.
        const uint64_t packed = k % 2 ? word : word & NextWord(g) & NextWord(g);
        for (const auto& [rows, cols] : {std::pair{6, 8}, std::pair{8, 8}, std::pair{3, 5}}) {
            std::vector<uint64_t> matrix;
            for (int r = 0; r < rows; ++r)
                matrix.push_back((packed >> (r * cols)) & ((uint64_t{1} << cols) - 1));
            ASSERT_EQ(SmallRank(packed, rows, cols), BinaryRank(matrix, cols)) << packed;
        }
    }
}

TEST(FastPaths, Rank6x8ReadsTheRowsOfSixWords) {
    Xoshiro256 g = SeedXoshiro(22);
    const BitSequence s = GeneratorBits(g, 100000 + 37);
    for (int order : {0, 5, 24}) {
        std::vector<uint64_t> classes(3, 0);
        for (uint64_t start = 0; start + 192 <= s.size; start += 192) {
            std::vector<uint64_t> matrix;
            for (uint64_t j = 0; j < 6; ++j)
                matrix.push_back(BitsAt(s, start + 32 * j + static_cast<uint64_t>(order), 8));
            ++classes[static_cast<size_t>(std::min(6 - BinaryRank(matrix, 8), 2))];
        }
        EXPECT_EQ(Rank6x8Test(s, order), RankClassPValue(classes, 6, 8)) << order;
    }
}

TEST(FastPaths, AutocorrelationSumsTheLaggedProducts) {
    Xoshiro256 g = SeedXoshiro(23);
    const BitSequence s = GeneratorBits(g, 20000 + 13);
    for (int width : {1, 3, 7, 16}) {
        for (uint64_t distance : {1u, 5u, 64u, 700u}) {
            const uint64_t pairs = s.size / static_cast<uint64_t>(width) - distance;
            const int64_t top = (int64_t{1} << width) - 1;
            const auto centred = [&](uint64_t i) {
                int64_t x = 0;
                for (int b = 0; b < width; ++b)
                    x = 2 * x +
                        BitAt(s, i * static_cast<uint64_t>(width) + static_cast<uint64_t>(b));
                return 2 * x - top;
            };
            int64_t sum = 0;
            for (uint64_t i = 0; i < pairs; ++i)
                sum += centred(i) * centred(i + distance);
            const double z = static_cast<double>(sum) / ((std::ldexp(1.0, 2 * width) - 1) / 3 *
                                                         std::sqrt(static_cast<double>(pairs)));
            EXPECT_DOUBLE_EQ(WindowedAutocorrelationZ(s, distance, width), z)
                << width << " " << distance;
        }
    }
}

TEST(FastPaths, TemplateMatchesScanPlaceByPlace) {
    Xoshiro256 g = SeedXoshiro(24);
    // Biased bits match the all-zero-led templates often, so that matches crowd each other.
    const BitSequence biased = BiasedBits(g, 30000 + 29, 0.2);
    const BitSequence fair = GeneratorBits(g, 30000 + 29);
    for (const BitSequence* s : {&biased, &fair}) {
        for (const auto& [pattern, m] : {std::pair{1u, 2}, std::pair{1u, 5}, std::pair{0b110u, 3},
                                         std::pair{0b000011101u, 9}}) {
            const uint64_t blockBits = s->size / 8;
            std::vector<uint64_t> expected(8, 0);
            for (uint64_t b = 0; b < 8; ++b)
                for (uint64_t i = b * blockBits;
                     i + static_cast<uint64_t>(m) <= (b + 1) * blockBits;)
                    if (BitsAt(*s, i, m) == pattern) {
                        ++expected[b];
                        i += static_cast<uint64_t>(m);
                    } else {
                        ++i;
                    }
            EXPECT_EQ(TemplateMatchesPerBlock(*s, pattern, m, 8), expected) << pattern << " " << m;
        }
    }
}

TEST(FastPaths, ShortBlocksGatherBitsADistanceApart) {
    Xoshiro256 g = SeedXoshiro(25);
    const BitSequence s = GeneratorBits(g, 50000 + 3);
    for (int width : {1, 3, 5, 6, 16}) {
        for (uint64_t distance : {1u, 3u, 64u, 100u, 1024u}) {
            const uint64_t frame = static_cast<uint64_t>(width) * distance;
            std::vector<uint64_t> counts(size_t{1} << width, 0);
            for (uint64_t start = 0; start + frame <= s.size; start += frame)
                for (uint64_t k = 0; k < distance; ++k) {
                    uint64_t value = 0;
                    for (uint64_t j = 0; j < static_cast<uint64_t>(width); ++j)
                        value =
                            2 * value + static_cast<uint64_t>(BitAt(s, start + k + j * distance));
                    ++counts[value];
                }
            const uint64_t blocks = ShortBlockCount(s.size, width, distance);
            const double expected =
                Igamc((std::ldexp(1.0, width) - 1) / 2, UniformChiSquare(counts, blocks) / 2);
            EXPECT_EQ(ShortBlocksTest(s, width, distance), expected) << width << " " << distance;
        }
    }
}

TEST(FastPaths, CouponSegmentsCollectEveryValue) {
    Xoshiro256 g = SeedXoshiro(27);
    const BitSequence s = GeneratorBits(g, 40000 + 5);
    for (int width : {1, 3, 6}) {
        std::vector<uint64_t> expected;
        std::set<uint64_t> seen;
        uint64_t length = 0;
        for (uint64_t pos = 0; pos + static_cast<uint64_t>(width) <= s.size;
             pos += static_cast<uint64_t>(width)) {
            ++length;
            seen.insert(BitsAt(s, pos, width));
            if (seen.size() == size_t{1} << width) {
                expected.push_back(length);
                seen.clear();
                length = 0;
            }
        }
        EXPECT_EQ(CouponSegmentLengths(s, width, 1000000), expected) << width;
        expected.resize(5);
        EXPECT_EQ(CouponSegmentLengths(s, width, 5), expected) << width;
    }
}

// The transform against the defining sum, on a length that ends inside a word.
TEST(FastPaths, SpectralCountMatchesTheDefiningSum) {
    Xoshiro256 g = SeedXoshiro(26);
    const BitSequence s = GeneratorBits(g, 1000);
    const uint64_t n = 999;
    uint64_t below = 0;
    for (uint64_t k = 0; k < n / 2; ++k) {
        std::complex<double> x = 0;
        for (uint64_t i = 0; i < n; ++i)
            x += (BitAt(s, i) ? 1.0 : -1.0) *
                 std::polar(1.0, -2 * std::numbers::pi * static_cast<double>(k * i % n) /
                                     static_cast<double>(n));
        below += std::abs(x) < std::sqrt(std::log(20.0) * static_cast<double>(n)) ? 1 : 0;
    }
    EXPECT_EQ(DftPeaksBelowThreshold(s, n), below);
}

// Balls minus distinct urns, the urns read one ball at a time into a set; on good bits and on
// biased ones that collide far more, for urn counts on both sides of the bitmap's limit.
TEST(FastPaths, CollisionsAreBallsInOccupiedUrns) {
    Xoshiro256 g = SeedXoshiro(77);
    for (int urnBits : {1, 6, 7, 12, 20, 26, 27, 32}) {
        for (const BitSequence& s : {GeneratorBits(g, 1 << 20), BiasedBits(g, 1 << 20, 0.9)}) {
            const uint64_t balls = std::min<uint64_t>(s.size / urnBits, 50000);
            std::set<uint64_t> urns;
            for (uint64_t i = 0; i < balls; ++i)
                urns.insert(BitsAt(s, i * urnBits, urnBits));
            EXPECT_EQ(CountCollisions(s, urnBits, balls), balls - urns.size()) << urnBits;
        }
    }
}

} // namespace
} // namespace zentrope
