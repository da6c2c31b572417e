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

std::optional<BlockAndGapCounts> CountBlocksAndGaps(const BitSequence& s, uint64_t runs,
                                                    int classes) {
    BlockAndGapCounts c{std::vector<uint64_t>(static_cast<size_t>(classes), 0),
                        std::vector<uint64_t>(static_cast<size_t>(classes), 0)};
    uint64_t pos = 0;
    for (uint64_t r = 0; r < runs; ++r) {
        if (pos >= s.size)
            return std::nullopt;
        const int bit = BitAt(s, pos);
        // The run ends at the first bit that differs: counted 64 bits at a time.
        uint64_t length = 0;
        for (;;) {
            const int take = static_cast<int>(std::min<uint64_t>(64, s.size - pos - length));
            if (take == 0)
                return std::nullopt; // the run reaches the end: not complete
            uint64_t chunk = BitsAt(s, pos + length, take) << (64 - take);
            if (bit)
                chunk = ~chunk;
            const int same = std::min(std::countl_zero(chunk), take);
            length += static_cast<uint64_t>(same);
            if (same < take)
                break;
        }
        const size_t index = static_cast<size_t>(std::min<uint64_t>(length, classes)) - 1;
        ++(bit ? c.blocks : c.gaps)[index];
        pos += length;
    }
    return c;
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
