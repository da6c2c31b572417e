#include "tester/basic_five_tests.h"
#include "tester/distributions.h"
#include "tester/pooled_chi_square.h"
#include "tester/randomness_tests.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace zentrope {
namespace {

// A run's length is geometric: mean 2 bits, variance 2.
constexpr SegmentMoments RunLength{2, 1.4142135623730951};

} // namespace

uint64_t RunsToCount(uint64_t n) {
    return SegmentCountWithin(n, RunLength);
}

int RunLengthClasses(uint64_t runsOfOneKind) {
    int k = 1;
    while (std::ldexp(static_cast<double>(runsOfOneKind), -k) >= 5)
        ++k;
    return k;
}

// The runs end where a bit differs from the one before it: the differences of a whole word
// with itself shifted by one bit, taken from the most significant end, give every run's end in
// a few instructions.
std::optional<BlockAndGapCounts> CountBlocksAndGaps(const BitSequence& s, uint64_t runs,
                                                    int classes) {
    BlockAndGapCounts c{std::vector<uint64_t>(static_cast<size_t>(classes), 0),
                        std::vector<uint64_t>(static_cast<size_t>(classes), 0)};
    if (runs == 0)
        return c;
    if (s.size == 0)
        return std::nullopt;
    const auto last = static_cast<uint64_t>(classes);
    int bit = BitAt(s, 0);                          // of the run under way
    uint64_t start = 0;                             // where it began
    uint64_t previous = static_cast<uint64_t>(bit); // the bit before the word, as the lowest bit
    uint64_t counted = 0;
    for (size_t w = 0; w * 64 < s.size; ++w) {
        const uint64_t word = s.words[w];
        uint64_t ends = word ^ ((word >> 1) | (previous << 63));
        const uint64_t bitsIn = std::min<uint64_t>(64, s.size - w * 64);
        if (bitsIn < 64)
            ends &= ~uint64_t{0} << (64 - bitsIn);
        previous = word & 1;
        while (ends != 0) {
            const int offset = std::countl_zero(ends);
            ends ^= uint64_t{1} << (63 - offset);
            const uint64_t end = w * 64 + static_cast<uint64_t>(offset);
            ++(bit ? c.blocks : c.gaps)[std::min(end - start, last) - 1];
            if (++counted == runs)
                return c;
            bit ^= 1;
            start = end;
        }
    }
    return std::nullopt; // the last run reaches the end: not complete
}

double RunLengthChiSquare(const std::vector<uint64_t>& counts) {
    double total = 0;
    for (uint64_t v : counts)
        total += static_cast<double>(v);
    double x = 0;
    for (size_t i = 0; i < counts.size(); ++i) {
        // Length i + 1 with chance 2^-(i+1); the last class, the tail, as much as the one before.
        const int exponent = static_cast<int>(std::min(i + 1, counts.size() - 1));
        const double e = std::ldexp(total, -exponent);
        const double d = static_cast<double>(counts[i]) - e;
        x += d * d / e;
    }
    return x;
}

double BlocksAndGapsTest(const BitSequence& s) {
    const uint64_t runs = RunsToCount(s.size);
    const int k = RunLengthClasses(runs / 2);
    if (k < 2)
        return NoResult;
    const std::optional<BlockAndGapCounts> c = CountBlocksAndGaps(s, runs, k);
    if (!c)
        return 0; // a random sequence holds the runs but with a chance of about 1e-15
    return Igamc(k - 1, (RunLengthChiSquare(c->blocks) + RunLengthChiSquare(c->gaps)) / 2);
}

} // namespace zentrope
