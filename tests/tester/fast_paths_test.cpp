// The word-at-a-time statistics against straightforward bit-by-bit computations of the same
// quantities on random bits, at lengths that end inside a word.
#include "tester/distributions.h"
#include "tester/field_products.h"
#include "tester/randomness_tests.h"
#include "tester/uniform_chi_square.h"
#include "tests/tester/random_sources.h"
#include "tests/tester/rank_reference.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// Rank classes (6, 5, 4 and below) of the 6x8 matrices taken from each 192 bits, byte by byte.
std::vector<uint64_t> Rank6x8Classes(const BitSequence& s, int order) {
    std::vector<uint64_t> classes(3, 0);
    for (uint64_t start = 0; start + 192 <= s.size; start += 192) {
        std::vector<uint64_t> matrix;
        for (uint64_t j = 0; j < 6; ++j)
            matrix.push_back(BitsAt(s, start + 32 * j + static_cast<uint64_t>(order), 8));
        ++classes[static_cast<size_t>(std::min(6 - BinaryRank(matrix, 8), 2))];
    }
    return classes;
}

TEST(FastPaths, Rank6x8ReadsTheRowsOfSixWords) {
    Xoshiro256 g = SeedXoshiro(22);
    const BitSequence s = GeneratorBits(g, 100000 + 37);
    for (int order : {0, 5, 24}) {
        EXPECT_EQ(Rank6x8Test(s, order), RankClassPValue(Rank6x8Classes(s, order), 6, 8)) << order;
    }
}

// Sparse bits make ranks 5 and below common, so every class is counted side by side in the
// lanes; lengths that leave the last group of lanes part full.
TEST(FastPaths, Rank6x8LowRanksOnSparseAndPeriodicBits) {
    Xoshiro256 g = SeedXoshiro(29);
    uint64_t lowest = 0;
    for (const BitSequence& s : {BiasedBits(g, 192 * 1000 + 5, 0.12), BiasedBits(g, 192 * 63, 0.9),
                                 PeriodicBits(30, 192 * 7, 192 * 300 + 100)}) {
        for (int order : {0, 3, 8, 17, 24}) {
            const std::vector<uint64_t> classes = Rank6x8Classes(s, order);
            lowest += classes[2];
            EXPECT_EQ(Rank6x8Test(s, order), RankClassPValue(classes, 6, 8))
                << s.size << " " << order;
        }
    }
    EXPECT_GT(lowest, 500u); // the lowest class is common, not an empty case
}

// Rank classes of rows x cols matrices filled row by row from consecutive bits, one matrix at a
// time by elimination.
std::vector<uint64_t> MatrixRankClasses(const BitSequence& s, int rows, int cols) {
    std::vector<uint64_t> classes(3, 0);
    const auto bits = static_cast<uint64_t>(rows * cols);
    for (uint64_t start = 0; start + bits <= s.size; start += bits) {
        std::vector<uint64_t> matrix;
        for (int j = 0; j < rows; ++j)
            matrix.push_back(BitsAt(s, start + static_cast<uint64_t>(j * cols), cols));
        ++classes[static_cast<size_t>(
            std::min(std::min(rows, cols) - BinaryRank(matrix, cols), 2))];
    }
    return classes;
}

// Dense bits give full ranks, sparse and periodic ones every class; lengths that leave the last
// group of lanes part full, and shapes that are not square.
TEST(FastPaths, MatrixRankCountsAsEliminationDoes) {
    Xoshiro256 g = SeedXoshiro(33);
    uint64_t lowest = 0;
    for (const BitSequence& s : {GeneratorBits(g, 1024 * 100 + 77), BiasedBits(g, 1024 * 37, 0.03),
                                 PeriodicBits(31 * 5, 961 * 3, 961 * 50 + 9)}) {
        for (const auto& [rows, cols] :
             {std::pair{32, 32}, std::pair{31, 31}, std::pair{20, 32}, std::pair{32, 9}}) {
            const std::vector<uint64_t> classes = MatrixRankClasses(s, rows, cols);
            lowest += classes[2];
            EXPECT_EQ(MatrixRankTest(s, rows, cols), RankClassPValue(classes, rows, cols))
                << s.size << " " << rows << "x" << cols;
        }
    }
    EXPECT_GT(lowest, 100u); // the lowest class is counted, not only full ranks
}

// Groups short enough for a table, groups that fill words, groups read as fields of a longer
// read and groups read value by value, each against the ordering of its values read one by one.
TEST(FastPaths, PermutationCountsEveryGroupAsItsValuesOrder) {
    Xoshiro256 g = SeedXoshiro(31);
    const std::vector<std::pair<int, int>> layouts = {
        {2, 4}, {4, 4}, {5, 3}, {1, 2}, {8, 4}, {16, 4}, {32, 2}, {7, 5}, {3, 7}, {13, 9}, {2, 9}};
    for (const BitSequence& s : {GeneratorBits(g, 60000 + 41), BiasedBits(g, 30000 + 3, 0.3),
                                 PeriodicBits(32, 999, 40000)}) {
        for (const auto& [width, t] : layouts) {
            std::vector<uint64_t> expected(Factorial(t) + 1, 0);
            const auto groupBits = static_cast<uint64_t>(width * t);
            for (uint64_t start = 0; start + groupBits <= s.size; start += groupBits) {
                std::vector<uint64_t> group;
                for (uint64_t i = 0; i < static_cast<uint64_t>(t); ++i)
                    group.push_back(BitsAt(s, start + i * static_cast<uint64_t>(width), width));
                const int64_t index = OrderingIndex(group);
                ++expected[index < 0 ? expected.size() - 1 : static_cast<size_t>(index)];
            }
            EXPECT_EQ(PermutationCounts(s, width, t), expected)
                << s.size << " s=" << width << " t=" << t;
        }
    }
}

// The autocorrelation's z from its definition, each block's value read bit by bit.
double AutocorrelationBitByBit(const BitSequence& s, uint64_t distance, int width) {
    const uint64_t pairs = s.size / static_cast<uint64_t>(width) - distance;
    const int64_t top = (int64_t{1} << width) - 1;
    const auto centred = [&](uint64_t i) {
        int64_t x = 0;
        for (int b = 0; b < width; ++b)
            x = 2 * x + BitAt(s, i * static_cast<uint64_t>(width) + static_cast<uint64_t>(b));
        return 2 * x - top;
    };
    int64_t sum = 0;
    for (uint64_t i = 0; i < pairs; ++i)
        sum += centred(i) * centred(i + distance);
    return static_cast<double>(sum) /
           ((std::ldexp(1.0, 2 * width) - 1) / 3 * std::sqrt(static_cast<double>(pairs)));
}

TEST(FastPaths, AutocorrelationSumsTheLaggedProducts) {
    Xoshiro256 g = SeedXoshiro(23);
    const BitSequence s = GeneratorBits(g, 20000 + 13);
    for (int width : {1, 3, 7, 16}) {
        for (uint64_t distance : {1u, 5u, 64u, 700u})
            EXPECT_DOUBLE_EQ(WindowedAutocorrelationZ(s, distance, width),
                             AutocorrelationBitByBit(s, distance, width))
                << width << " " << distance;
    }
}

// Blocks that fill whole words are summed many to a vector register, in batches of words;
// biased and periodic bits give sums far from 0 and fields at their extremes.
TEST(FastPaths, AutocorrelationOfWordFillingBlocksOnEveryKindOfBits) {
    Xoshiro256 g = SeedXoshiro(26);
    const uint64_t n = 3 * 256 * 64 + 4000 + 37; // several batches, ending inside a word
    const std::vector<BitSequence> sources = {GeneratorBits(g, n), BiasedBits(g, n, 0.9),
                                              BiasedBits(g, n, 0.03), PeriodicBits(27, 4096, n)};
    for (const BitSequence& s : sources) {
        for (int width : {2, 4, 8, 16}) {
            for (uint64_t distance : {1u, 3u, 32u, 256u, 1029u}) {
                const double z = AutocorrelationBitByBit(s, distance, width);
                EXPECT_DOUBLE_EQ(WindowedAutocorrelationZ(s, distance, width), z)
                    << width << " " << distance;
            }
        }
    }
}

// Both the vector loops and the portable ones, field by field, on words of every kind: random,
// all ones (the largest products every lane can hold) and sparse, over a count of words that
// ends inside a chunk.
TEST(FastPaths, FieldProductsAgreeWithFieldByField) {
    Xoshiro256 g = SeedXoshiro(28);
    std::vector<uint64_t> a(301);
    std::vector<uint64_t> b(301);
    for (size_t i = 0; i < a.size(); ++i) {
        a[i] = i < 100 ? NextWord(g) : i < 200 ? ~uint64_t{0} : NextWord(g) & NextWord(g);
        b[i] = i < 100 || i >= 200 ? NextWord(g) : ~uint64_t{0};
    }
    for (int width : {2, 4, 8, 16}) {
        FieldSums expected;
        for (size_t i = 0; i < a.size(); ++i)
            for (int shift = 0; shift < 64; shift += width) {
                const uint64_t x = (a[i] >> shift) & ((uint64_t{1} << width) - 1);
                const uint64_t y = (b[i] >> shift) & ((uint64_t{1} << width) - 1);
                expected.products += x * y;
                expected.first += x;
                expected.second += y;
            }
        for (bool portable : {false, true}) {
            const FieldSums sums = SumFieldProducts(a.data(), b.data(), a.size(), width, portable);
            EXPECT_EQ(sums.products, expected.products) << width << " " << portable;
            EXPECT_EQ(sums.first, expected.first) << width << " " << portable;
            EXPECT_EQ(sums.second, expected.second) << width << " " << portable;
        }
    }
}

// Knuth's runs up read value by value, each value bit by bit: a run ends where the next value
// is not larger, and the value that ends it is skipped.
std::vector<uint64_t> RunLengthsValueByValue(const BitSequence& s, int width, int longest,
                                             uint64_t runs) {
    const auto value = [&](uint64_t i) {
        uint64_t x = 0;
        for (int b = 0; b < width; ++b)
            x = 2 * x + static_cast<uint64_t>(
                            BitAt(s, i * static_cast<uint64_t>(width) + static_cast<uint64_t>(b)));
        return x;
    };
    const uint64_t blocks = s.size / static_cast<uint64_t>(width);
    std::vector<uint64_t> counts(static_cast<size_t>(longest), 0);
    uint64_t start = 0;
    for (uint64_t found = 0; found < runs; ++found) {
        uint64_t end = start;
        while (end + 1 < blocks && value(end + 1) > value(end))
            ++end;
        if (end + 1 >= blocks)
            break;
        ++counts[static_cast<size_t>(
            std::min<uint64_t>(end - start + 1, static_cast<uint64_t>(longest)) - 1)];
        start = end + 2;
    }
    return counts;
}

// Good bits, biased ones (long runs of equal values end runs at once, whole words of ends in a
// row), periodic ones and a byte counter (runs longer than a word of ends), with the count of
// runs both within what the bits hold and beyond, and classes up to beyond a word.
TEST(FastPaths, RunLengthsAgreeWithValueByValue) {
    Xoshiro256 g = SeedXoshiro(29);
    const uint64_t n = 40000 + 21;
    BitSequence counter;
    for (uint64_t i = 0; counter.size + 8 <= n; ++i)
        AppendBits(counter, i & 0xFF, 8);
    const std::vector<BitSequence> sources = {GeneratorBits(g, n), BiasedBits(g, n, 0.97),
                                              BiasedBits(g, n, 0.1), PeriodicBits(30, 200, n),
                                              counter};
    for (const BitSequence& s : sources)
        for (int width : {1, 2, 3, 4, 8, 13, 16, 32})
            for (int longest : {2, 6, 10, 63, 64, 300})
                for (uint64_t runs : {uint64_t{50}, uint64_t{1000}, uint64_t{1} << 40})
                    EXPECT_EQ(RunLengthCounts(s, width, longest, runs),
                              RunLengthsValueByValue(s, width, longest, runs))
                        << width << " " << longest << " " << runs;
}

// Lines of one sequence share its count of runs: a sequence refilled in place with other bits
// (as a run's input refills its buffer), or differing only in its last word, is counted anew.
TEST(FastPaths, RunLengthsOfASequenceRefilledInPlace) {
    Xoshiro256 g = SeedXoshiro(31);
    const uint64_t n = 20000 + 37;
    BitSequence s = GeneratorBits(g, n);
    for (int refill = 0; refill < 3; ++refill) {
        for (int width : {4, 5, 32})
            for (int longest : {3, 10})
                EXPECT_EQ(RunLengthCounts(s, width, longest, 2000),
                          RunLengthsValueByValue(s, width, longest, 2000))
                    << refill << " " << width << " " << longest;
        const uint64_t* before = s.words.data();
        if (refill == 0) {
            s.words.back() ^= uint64_t{1} << 63;
        } else {
            const BitSequence fresh = GeneratorBits(g, n);
            std::copy(fresh.words.begin(), fresh.words.end(), s.words.begin());
        }
        ASSERT_EQ(s.words.data(), before);
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

// The p-value of s-bit blocks at distance d, each block's bits read one by one.
double ShortBlocksPValueBitByBit(const BitSequence& s, int width, uint64_t distance) {
    const uint64_t frame = static_cast<uint64_t>(width) * distance;
    std::vector<uint64_t> counts(size_t{1} << width, 0);
    for (uint64_t start = 0; start + frame <= s.size; start += frame)
        for (uint64_t k = 0; k < distance; ++k) {
            uint64_t value = 0;
            for (uint64_t j = 0; j < static_cast<uint64_t>(width); ++j)
                value = 2 * value + static_cast<uint64_t>(BitAt(s, start + k + j * distance));
            ++counts[value];
        }
    const uint64_t blocks = ShortBlockCount(s.size, width, distance);
    return Igamc((std::ldexp(1.0, width) - 1) / 2, UniformChiSquare(counts, blocks) / 2);
}

TEST(FastPaths, ShortBlocksGatherBitsADistanceApart) {
    Xoshiro256 g = SeedXoshiro(25);
    const BitSequence s = GeneratorBits(g, 50000 + 3);
    for (int width : {1, 3, 5, 6, 8, 11, 16, 20})
        for (uint64_t distance : {1u, 3u, 64u, 100u, 1024u})
            EXPECT_EQ(ShortBlocksTest(s, width, distance),
                      ShortBlocksPValueBitByBit(s, width, distance))
                << width << " " << distance;
}

// Lines of 2, 4, 8 and 16 bits at one distance share a count kept per sequence: it must hold
// in either order of the lines, with an odd number of frames at every block size (the frames
// the wider blocks leave over), and when the same sequence object is refilled with other bits.
TEST(FastPaths, ShortBlockLinesOfOneSequenceAgree) {
    Xoshiro256 g = SeedXoshiro(26);
    for (uint64_t distance : {100u, 1024u}) {
        // 3 frames of 16 bits, 7 of 8, 15 of 4, 31 of 2, 63 of 1.
        const uint64_t n = (16 * 3 + 8 + 4 + 2 + 1) * distance + 5;
        BitSequence s = GeneratorBits(g, n);
        for (int fill = 0; fill < 3; ++fill) {
            if (fill == 2) // ones at 1/4: the counts differ from those of the fill before
                for (uint64_t& w : s.words)
                    w &= NextWord(g);
            else if (fill == 1)
                s = GeneratorBits(g, n);
            for (const auto& order : {std::vector<int>{1, 2, 4, 8, 16}, {16, 8, 4, 2, 1}})
                for (int width : order)
                    EXPECT_EQ(ShortBlocksTest(s, width, distance),
                              ShortBlocksPValueBitByBit(s, width, distance))
                        << width << " " << distance << " fill " << fill;
        }
    }
}

// More distances than the counts kept for a sequence, asked in turn: a dropped distance's
// counts are made again, never taken from another distance.
TEST(FastPaths, ShortBlockLinesOfManyDistancesAgree) {
    Xoshiro256 g = SeedXoshiro(27);
    const BitSequence s = GeneratorBits(g, 16 * 7 * 64 + 8 * 64 + 11);
    for (int round = 0; round < 2; ++round)
        for (int width : {16, 8, 2})
            for (uint64_t distance : {64u, 65u, 66u, 100u, 128u, 3u})
                EXPECT_EQ(ShortBlocksTest(s, width, distance),
                          ShortBlocksPValueBitByBit(s, width, distance))
                    << width << " " << distance << " round " << round;
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
