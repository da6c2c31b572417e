#include "tester/short_blocks_chi_square.h"
#include "tester/uniform_chi_square.h"
#include "tester/xoshiro.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zentrope {
namespace {

// Counts of `total` blocks spread at random over 2^bits classes.
std::vector<uint64_t> RandomCounts(Xoshiro256& g, int bits, uint64_t total) {
    std::vector<uint64_t> counts(size_t{1} << bits, 0);
    for (uint64_t k = 0; k < total; ++k)
        ++counts[NextWord(g) >> (64 - bits)];
    return counts;
}

// The integer sum must give the bits of the floating-point sum taken one class after another,
// for expected counts that are whole or not, and where the sum of squares is too large to be
// exact (a class holding all blocks, counts far above the expectation).
TEST(BlockChiSquare, GivesTheSequentialSumsBits) {
    Xoshiro256 g = SeedXoshiro(31);
    for (int bits : {1, 2, 4, 8, 12, 16})
        for (uint64_t total : {uint64_t{1} << 16, uint64_t{65536 + 37}, uint64_t{3 * 65536 + 1}}) {
            const std::vector<uint64_t> counts = RandomCounts(g, bits, total);
            EXPECT_EQ(BlockChiSquare(counts, total), UniformChiSquare(counts, total))
                << bits << " " << total;
        }
    for (int bits : {2, 8, 16})
        for (uint64_t total : {uint64_t{1000}, uint64_t{1} << 20, uint64_t{1} << 30}) {
            std::vector<uint64_t> counts(size_t{1} << bits, 0);
            counts[1] = total;
            EXPECT_EQ(BlockChiSquare(counts, total), UniformChiSquare(counts, total))
                << bits << " " << total;
            counts[1] = total / 3;
            counts.back() = total - total / 3;
            EXPECT_EQ(BlockChiSquare(counts, total), UniformChiSquare(counts, total))
                << bits << " " << total;
        }
}

// Sums of squares at the edge of exact: four classes of q + x, q - x, q + x, q - x have
// D = 4c - 4q = +-4x and a sum of 64 x^2, below 2^53 up to x = 11,863,283 and above from the
// next; one class more gives an expectation that is not whole.
TEST(BlockChiSquare, HoldsAtTheEdgeOfExactSums) {
    const uint64_t q = uint64_t{1} << 30;
    for (uint64_t x : {uint64_t{11863283}, uint64_t{11863284}})
        for (uint64_t extra : {0, 1}) {
            const std::vector<uint64_t> counts{q + x + extra, q - x, q + x, q - x};
            const uint64_t total = 4 * q + extra;
            EXPECT_EQ(BlockChiSquare(counts, total), UniformChiSquare(counts, total))
                << x << " " << extra;
        }
}

// A class whose D is 2^32, with a square beyond 64 bits: 2^16 classes, 2^17 blocks, 65,538
// in one class, 2 in each of 32,767 and none in the others.
TEST(BlockChiSquare, TakesDifferencesTooLargeToSquare) {
    std::vector<uint64_t> counts(size_t{1} << 16, 0);
    counts[0] = 65538;
    for (size_t k = 1; k <= 32767; ++k)
        counts[k] = 2;
    const uint64_t total = uint64_t{1} << 17;
    EXPECT_EQ(BlockChiSquare(counts, total), UniformChiSquare(counts, total));
}

// Every D below 2^26 but their squares' sum far above 2^53, where the floating-point sum
// rounds as it goes: counts of 2^30 +- up to 2^17 in 256 classes.
TEST(BlockChiSquare, FollowsTheRoundingOfLargeSums) {
    Xoshiro256 g = SeedXoshiro(32);
    for (int trial = 0; trial < 20; ++trial) {
        std::vector<uint64_t> counts(256);
        uint64_t total = 0;
        for (uint64_t& c : counts) {
            c = (uint64_t{1} << 30) + (NextWord(g) >> 46) - (uint64_t{1} << 17);
            total += c;
        }
        EXPECT_EQ(BlockChiSquare(counts, total), UniformChiSquare(counts, total)) << trial;
    }
}

} // namespace
} // namespace zentrope
