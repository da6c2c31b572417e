#include "tester/randomness_tests.h"

#include <algorithm>
#include <cmath>

namespace zentrope {

double RunAtLeast(int blockBits, int k) {
    const double d = std::ldexp(1.0, blockBits);
    double p = 1;
    for (int i = 0; i < k; ++i)
        p *= (d - i) / d / (i + 1); // C(d, k) / d^k = prod (1 - i/d) / k!
    return std::max(p, 0.0);
}

SegmentMoments RunMoments(int blockBits) {
    // E[len] = sum P(len >= k), E[len^2] = sum (2k - 1) P(len >= k).
    double mean = 0;
    double square = 0;
    for (int k = 1;; ++k) {
        const double p = RunAtLeast(blockBits, k);
        if (p < 1e-18)
            break;
        mean += p;
        square += (2.0 * k - 1) * p;
    }
    return {mean + 1, std::sqrt(square - mean * mean)};
}

std::vector<uint64_t> RunLengthCounts(const BitSequence& s, int blockBits, int longest,
                                      uint64_t runs) {
    std::vector<uint64_t> counts(static_cast<size_t>(longest), 0);
    const auto width = static_cast<uint64_t>(blockBits);
    const uint64_t blocks = s.size / width;
    uint64_t found = 0;
    uint64_t i = 0;
    while (found < runs && i < blocks) {
        uint64_t last = BitsAt(s, i * width, blockBits);
        int length = 1;
        for (++i; i < blocks; ++i) {
            const uint64_t next = BitsAt(s, i * width, blockBits);
            if (next <= last)
                break;
            last = next;
            ++length;
        }
        if (i == blocks)
            break; // the run may go on beyond the bits
        ++i;       // the value that ended the run is skipped
        ++counts[static_cast<size_t>(std::min(length, longest) - 1)];
        ++found;
    }
    return counts;
}

double RunsUpTest(const BitSequence& s, int blockBits, int longest) {
    if (blockBits < 1 || blockBits > 32 || longest < 2)
        return NoResult;
    const uint64_t blocks = s.size / static_cast<uint64_t>(blockBits);
    const SegmentMoments moments = RunMoments(blockBits);
    const uint64_t runs = SegmentCountWithin(blocks, moments);
    if (runs < 2)
        return NoResult;
    const std::vector<uint64_t> counts = RunLengthCounts(s, blockBits, longest, runs);
    uint64_t found = 0;
    for (uint64_t c : counts)
        found += c;
    if (found < runs)
        return RunOutPValue(blocks, found, moments);
    std::vector<double> probability;
    for (int k = 1; k < longest; ++k)
        probability.push_back(RunAtLeast(blockBits, k) - RunAtLeast(blockBits, k + 1));
    return PooledChiSquarePValue(counts, probability);
}

} // namespace zentrope
