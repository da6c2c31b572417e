// The bitstream, gcd and birthday spacings tests against their published figures and cases
// worked by hand.
#include "tester/marsaglia_tests.h"
#include "tester/randomness_tests.h"
#include "tests/tester/random_sources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
#include <set>
#include <string>

namespace zentrope {
namespace {

BitSequence Words32(const std::vector<uint32_t>& words) {
    BitSequence s;
    for (uint32_t w : words)
        AppendBits(s, w, 32);
    return s;
}

TEST(SparseOccupancy, PublishedMeanAndSigmaOfTheBitstreamTest) {
    // 2^21 overlapping 20-bit words: 141909 missing words on average, sigma 428.
    EXPECT_NEAR(ExpectedMissingWords(20), 141909, 0.5);
    EXPECT_DOUBLE_EQ(MissingWordsSigma(20), 428);
    EXPECT_DOUBLE_EQ(MissingWordsSigma(18), 214);
    EXPECT_EQ(SparseOccupancyBits(20), (uint64_t{1} << 21) + 19);
    EXPECT_EQ(SparseOccupancyWordBits(SparseOccupancyBits(18)), 18);
    EXPECT_EQ(SparseOccupancyWordBits(SparseOccupancyBits(18) - 1), 17);
    EXPECT_EQ(SparseOccupancyWordBits(uint64_t{1} << 40), 20);
    EXPECT_EQ(SparseOccupancyWordBits(SparseOccupancyBits(SparseOccupancyMinWord) - 1), 0);
}

// A de Bruijn sequence of order k (greedy, prefer one): read as a ring it holds every k-bit
// word exactly once.
std::string DeBruijn(int k) {
    std::string s(static_cast<size_t>(k), '0');
    std::vector<bool> seen(size_t{1} << k, false);
    seen[0] = true;
    for (;;) {
        const std::string tail = s.substr(s.size() - static_cast<size_t>(k) + 1);
        bool extended = false;
        for (char c : {'1', '0'}) {
            const auto word = std::stoul(tail + c, nullptr, 2);
            if (!seen[word]) {
                seen[word] = true;
                s += c;
                extended = true;
                break;
            }
        }
        if (!extended)
            return s.substr(0, size_t{1} << k);
    }
}

TEST(SparseOccupancy, MissingWordsCountedByHand) {
    // 2^7 + 5 bits of 6-bit words: all zeros hold one word, alternating bits two.
    EXPECT_EQ(MissingWords(BitsFromText(std::string(133, '0')), 0, 6), 63u);
    std::string alternating;
    while (alternating.size() < 140)
        alternating += "01";
    EXPECT_EQ(MissingWords(BitsFromText(alternating), 0, 6), 62u);
    // A ring of every 6-bit word, gone round twice and a bit: nothing missing. Started three
    // bits in, the same.
    const std::string ring = DeBruijn(6);
    const std::string text = ring + ring + ring;
    EXPECT_EQ(MissingWords(BitsFromText(text), 0, 6), 0u);
    EXPECT_EQ(MissingWords(BitsFromText(text), 3, 6), 0u);
}

// Each overlapping word read bit by bit into a set, on samples that end where the sequence
// ends, at starts inside a word; biased and periodic bits leave many words missing.
TEST(SparseOccupancy, MissingWordsAsTheWordsReadOneByOne) {
    Xoshiro256 g = SeedXoshiro(33);
    for (int w : {14, 17}) {
        for (uint64_t start : {0u, 37u}) {
            const uint64_t n = start + SparseOccupancyBits(w);
            for (const BitSequence& s :
                 {GeneratorBits(g, n), BiasedBits(g, n, 0.2), PeriodicBits(34, 5003, n)}) {
                std::set<uint64_t> present;
                for (uint64_t pos = start; pos + static_cast<uint64_t>(w) <= s.size; ++pos)
                    present.insert(BitsAt(s, pos, w));
                EXPECT_EQ(MissingWords(s, start, w), (uint64_t{1} << w) - present.size())
                    << w << " " << start;
            }
        }
    }
}

TEST(Gcd, DirichletProbabilities) {
    EXPECT_NEAR(GcdProbability(1), 0.6079271, 1e-7);
    EXPECT_NEAR(GcdProbability(3), 6 / (9 * std::numbers::pi * std::numbers::pi), 1e-15);
    double total = 0;
    for (uint64_t j = 1; j <= 100000; ++j)
        total += GcdProbability(j);
    EXPECT_NEAR(total, 1.0, 1e-5);
}

TEST(Gcd, PairsOfWordsCountedByTheirGcd) {
    // gcd(297, 366) = 3 (the published example of Euclid's steps); gcd(12, 18) = 6 falls into
    // the rest of three classes; a pair with a zero is left out; gcd(7, 9) = 1.
    const BitSequence s = Words32({297, 366, 12, 18, 0, 5, 7, 9});
    EXPECT_EQ(GcdCounts(s, 4, 3), (std::vector<uint64_t>{1, 0, 2}));
    EXPECT_EQ(GcdTest(s), NoResult);
}

// Against std::gcd: equal words, powers of two, 1 and 2^32 - 1, shared and unshared factors of
// two, and random words.
TEST(Gcd, CountsAsStdGcdDoes) {
    std::vector<uint32_t> words = {
        1,  1, 0xFFFFFFFF, 0xFFFFFFFF, 0x80000000, 0x80000000, 0x80000000, 6, 1 << 20,  3 << 18,
        96, 1, 0xFFFFFFFF, 0xFFFFFFFE, 12345678,   87654321,   1u << 31,   1, 7u << 29, 7 << 2};
    Xoshiro256 g = SeedXoshiro(41);
    for (int k = 0; k < 20000; ++k) {
        const auto w = static_cast<uint32_t>(NextWord(g));
        words.push_back(k % 3 ? w : w << (k % 32)); // common factors of two often
    }
    const size_t classes = 1 << 20;
    std::vector<uint64_t> expected(classes, 0);
    for (size_t i = 0; i + 1 < words.size(); i += 2)
        if (words[i] != 0 && words[i + 1] != 0)
            ++expected[std::min<size_t>(std::gcd(words[i], words[i + 1]), classes) - 1];
    EXPECT_EQ(GcdCounts(Words32(words), words.size() / 2, classes), expected);
}

TEST(BirthdaySpacings, EqualSpacingsOnTheCircle) {
    // Spacings 10, 10, 10 and 2^32 - 30: two equal to another.
    EXPECT_EQ(EqualSpacings({30, 0, 20, 10}), 2u);
    // Birthdays 1, 3, 5: spacings 2, 2 and the wrap 2^32 - 4.
    EXPECT_EQ(EqualSpacings({5, 1, 3}), 1u);
    // A shared birthday gives a spacing of 0; two of them, one equal spacing.
    EXPECT_EQ(EqualSpacings({7, 7, 100, 100, 1000}), 1u);
    EXPECT_EQ(EqualSpacings({1, 2, 4, 8}), 0u);
}

TEST(BirthdaySpacings, AgreesWithCountingDistinctSpacingsInASet) {
    Xoshiro256 g = SeedXoshiro(3);
    std::vector<uint32_t> birthdays;
    for (int i = 0; i < 8192; ++i)
        birthdays.push_back(static_cast<uint32_t>(NextWord(g) >> 45)); // a short year: many equal
    std::multiset<uint32_t> sorted(birthdays.begin(), birthdays.end());
    std::set<uint32_t> distinct;
    uint32_t previous = *sorted.rbegin();
    for (uint32_t b : sorted) {
        distinct.insert(b - previous);
        previous = b;
    }
    EXPECT_EQ(EqualSpacings(birthdays), 8192 - distinct.size());
    EXPECT_GT(EqualSpacings(birthdays), 1000u);
}

TEST(BirthdaySpacings, PoissonTailByHand) {
    // Poisson(4): P(X <= 4) = e^-4 (1 + 4 + 8 + 32/3 + 32/3) = 0.6288369, P(X = 4) = 0.1953668.
    EXPECT_NEAR(PoissonUpperP(4, 4, 0.5), 1 - 0.6288369 + 0.1953668 / 2, 1e-7);
    EXPECT_NEAR(PoissonUpperP(4, 4, 0), 1 - 0.6288369, 1e-7);
    EXPECT_NEAR(PoissonUpperP(4, 4, 1), 1 - 0.6288369 + 0.1953668, 1e-7);
    EXPECT_NEAR(PoissonUpperP(4, 0, 0.5), 1 - std::exp(-4.0) / 2, 1e-12);
    EXPECT_LT(PoissonUpperP(32, 120, 1), 1e-30);
}

TEST(BirthdaySpacings, ExpectedCountNearMarsaglias) {
    // m^3 / (4n) = 32; the exact pair count and the triples take off 0.008 and 0.111.
    EXPECT_NEAR(ExpectedEqualSpacings(), 32 - 0.0078 - 0.1110, 1e-3);
}

TEST(BirthdaySpacings, NeedsItsSamples) {
    EXPECT_EQ(BirthdaySpacingsTest(Words32(std::vector<uint32_t>(8192 * 3, 1))), NoResult);
    // Every birthday the same: every spacing 0 (the wrap too), far too many equal.
    EXPECT_EQ(BirthdaySpacingsTest(Words32(std::vector<uint32_t>(8192 * 4, 1))), 0.0);
}

} // namespace
} // namespace zentrope
