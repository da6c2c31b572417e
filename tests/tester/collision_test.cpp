// Collision's exact distribution against formulas other than its recursion, and its count
// against a set of the blocks.
#include "tester/randomness_tests.h"
#include "tests/tester/random_sources.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace zentrope {
namespace {

// P(n - k collisions) = S(n, k) m (m - 1) ... (m - k + 1) / m^n, S the Stirling numbers of the
// second kind: k urns occupied. Long double, S scaled by m^-j row by row so that nothing
// overflows.
std::vector<long double> StirlingDistribution(int balls, int urns) {
    const auto m = static_cast<long double>(urns);
    std::vector<long double> row{1}; // S(0, 0)
    for (int j = 1; j <= balls; ++j) {
        std::vector<long double> next(static_cast<size_t>(j) + 1, 0);
        for (int k = 1; k <= j; ++k) {
            const auto at = static_cast<size_t>(k);
            const long double same = at < row.size() ? static_cast<long double>(k) * row[at] : 0;
            next[at] = (same + row[at - 1]) / m;
        }
        row = std::move(next);
    }
    std::vector<long double> p(static_cast<size_t>(balls), 0);
    long double falling = 1;
    for (int k = 1; k <= std::min(balls, urns); ++k) {
        falling *= m - static_cast<long double>(k - 1);
        p[static_cast<size_t>(balls - k)] = row[static_cast<size_t>(k)] * falling;
    }
    return p;
}

// From a few balls with a narrow window to a thousand whose window is cut at both ends, so
// that every vector width meets its short and its long windows and its left-over counts.
TEST(CollisionDistribution, MatchesStirlingNumbers) {
    for (const auto& [balls, urnBits] : {std::pair{3, 1}, std::pair{30, 10}, std::pair{100, 6},
                                         std::pair{200, 8}, std::pair{1000, 10}}) {
        const std::vector<double> p = CollisionDistribution(static_cast<uint64_t>(balls), urnBits);
        const std::vector<long double> exact = StirlingDistribution(balls, 1 << urnBits);
        ASSERT_LE(p.size(), exact.size()) << balls;
        size_t compared = 0;
        for (size_t c = 0; c < exact.size(); ++c) {
            const long double got = c < p.size() ? p[c] : 0;
            if (exact[c] > 1e-20L) {
                // The recursion's rounding, up to a thousand steps, grows towards the tails.
                EXPECT_NEAR(static_cast<double>(got / exact[c]), 1.0, 1e-9) << balls << " " << c;
                ++compared;
            } else if (got == 0) {
                EXPECT_LT(exact[c], 1e-25L) << balls << " " << c; // cut only where negligible
            }
        }
        EXPECT_GT(compared, static_cast<size_t>(std::min(balls / 8, 50))) << balls;
    }
}

// The default lines at 1 Mbit, about 50,000 balls: mean and variance against the occupancy
// formulas, E[occupied] = m (1 - q1) and Var = m q1 + m (m - 1) q2 - m^2 q1^2 with
// q1 = (1 - 1/m)^n and q2 = (1 - 2/m)^n (collisions are n less the occupied urns).
TEST(CollisionDistribution, MomentsMatchTheOccupancyFormulas) {
    for (const int urnBits : {20, 21}) {
        const uint64_t balls = CollisionBalls(1 << 20, urnBits);
        const std::vector<double> p = CollisionDistribution(balls, urnBits);
        long double total = 0;
        long double sum = 0;
        long double squares = 0;
        for (size_t c = 0; c < p.size(); ++c) {
            const auto x = static_cast<long double>(c);
            total += p[c];
            sum += x * p[c];
            squares += x * x * p[c];
        }
        const long double m = std::ldexp(1.0L, urnBits);
        const auto n = static_cast<long double>(balls);
        const long double q1 = std::exp(n * std::log1p(-1 / m));
        const long double q2 = std::exp(n * std::log1p(-2 / m));
        const long double mean = n - m * (1 - q1);
        const long double variance = m * q1 + m * (m - 1) * q2 - m * m * q1 * q1;
        EXPECT_NEAR(static_cast<double>(total), 1.0, 1e-10) << urnBits;
        EXPECT_NEAR(static_cast<double>(sum / mean), 1.0, 1e-9) << urnBits;
        EXPECT_NEAR(static_cast<double>((squares - sum * sum) / variance), 1.0, 1e-7) << urnBits;
    }
}

// Blocks up to the sequence's very end, whose last ones are read from its last word alone, at
// lengths around word ends and urn counts that take the bitmap.
TEST(CollisionCount, BlocksUpToTheSequenceEnd) {
    Xoshiro256 g = SeedXoshiro(5);
    for (const uint64_t n : {64u, 127u, 128u, 129u, 1000u, 4096u, 65537u})
        for (const int urnBits : {1, 5, 7, 12, 20, 26}) {
            const BitSequence s = GeneratorBits(g, n);
            const uint64_t balls = n / static_cast<uint64_t>(urnBits);
            std::set<uint64_t> urns;
            for (uint64_t i = 0; i < balls; ++i)
                urns.insert(BitsAt(s, i * static_cast<uint64_t>(urnBits), urnBits));
            EXPECT_EQ(CountCollisions(s, urnBits, balls), balls - urns.size())
                << n << " " << urnBits;
        }
}

} // namespace
} // namespace zentrope
