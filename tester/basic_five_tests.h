// Two of the five basic tests of Menezes, van Oorschot and Vanstone, "Handbook of Applied
// Cryptography" (1996), section 5.4.4: the serial (two-bit) test and the runs test, which
// counts blocks (runs of ones) and gaps (runs of zeros) by length.
#pragma once

#include "tester/bit_sequence.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace zentrope {

// X2 = 4 / (n - 1) * sum n_ij^2 - 2 / n * sum n_i^2 + 1 over the n - 1 overlapping pairs;
// chi-square with 2 degrees of freedom.
double SerialTwoBitStatistic(const BitSequence& s);
double SerialTwoBitTest(const BitSequence& s);

// Runs test: the first R runs of the sequence, R fixed from its length so that a random
// sequence holds them but with a chance of about 1e-15. Their lengths are independent with
// P(i) = 2^-i, so the blocks (runs of ones) and the gaps (runs of zeros) among them fall into
// the lengths 1 .. k - 1 and >= k as two multinomials; each gets a Pearson chi-square with
// k - 1 degrees of freedom, k the largest with 5 expected in the last class, and their sum
// has 2k - 2.
struct BlockAndGapCounts {
    std::vector<uint64_t> blocks; // index i - 1: length i; the last entry: k and more
    std::vector<uint64_t> gaps;
};
uint64_t RunsToCount(uint64_t n);
int RunLengthClasses(uint64_t runsOfOneKind);
// Empty when the sequence ends before `runs` runs are complete.
std::optional<BlockAndGapCounts> CountBlocksAndGaps(const BitSequence& s, uint64_t runs,
                                                    int classes);
double RunLengthChiSquare(const std::vector<uint64_t>& counts);
double BlocksAndGapsTest(const BitSequence& s);

} // namespace zentrope
