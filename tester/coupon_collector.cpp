#include "tester/memoized.h"
#include "tester/pooled_chi_square.h"
#include "tester/randomness_tests.h"

#include <algorithm>
#include <cmath>

namespace zentrope {

SegmentMoments CouponMoments(uint64_t d) {
    double harmonic = 0;
    double squares = 0;
    for (uint64_t i = 1; i <= d; ++i) {
        harmonic += 1.0 / static_cast<double>(i);
        squares += 1.0 / static_cast<double>(i * i);
    }
    const double dd = static_cast<double>(d);
    return {dd * harmonic, std::sqrt(dd * dd * squares - dd * harmonic)};
}

std::vector<uint64_t> CouponSegmentLengths(const BitSequence& s, int blockBits, uint64_t count) {
    const uint64_t d = uint64_t{1} << blockBits;
    const uint64_t blocks = s.size / static_cast<uint64_t>(blockBits);
    std::vector<uint64_t> lengths;
    std::vector<uint64_t> seenIn(static_cast<size_t>(d), 0); // the last segment seen in
    uint64_t distinct = 0;
    uint64_t start = 0;
    uint64_t segment = 1; // segments are numbered from 1
    for (uint64_t i = 0; i < blocks && lengths.size() < count; ++i) {
        // Whether a value is new to the segment is a coin toss: counted without a branch.
        uint64_t& seen = seenIn[BitsAt(s, i * static_cast<uint64_t>(blockBits), blockBits)];
        distinct += seen != segment ? 1 : 0;
        seen = segment;
        if (distinct == d) {
            lengths.push_back(i + 1 - start);
            start = i + 1;
            distinct = 0;
            ++segment;
        }
    }
    return lengths;
}

std::vector<double> CouponLengthProbabilities(uint64_t d, double tail) {
    // seen[k]: probability that k distinct values have appeared after r draws.
    std::vector<double> seen(static_cast<size_t>(d) + 1, 0);
    seen[0] = 1;
    const double dd = static_cast<double>(d);
    std::vector<double> probability; // index r - d
    double remaining = 1;
    for (uint64_t r = 1; remaining > tail; ++r) {
        // A segment ends at draw r when d - 1 values were seen and the last one comes now.
        if (r >= d) {
            const double p = seen[d - 1] / dd;
            probability.push_back(p);
            remaining -= p;
        }
        for (uint64_t k = std::min(r, d - 1); k >= 1; --k)
            seen[k] = seen[k] * static_cast<double>(k) / dd +
                      seen[k - 1] * static_cast<double>(d - k + 1) / dd;
        seen[0] = 0;
    }
    return probability;
}

double CouponCollectorTest(const BitSequence& s, int blockBits) {
    if (blockBits < 1 || blockBits > 12)
        return NoResult;
    const uint64_t d = uint64_t{1} << blockBits;
    const uint64_t blocks = s.size / static_cast<uint64_t>(blockBits);
    const SegmentMoments moments = CouponMoments(d);
    const uint64_t count = SegmentCountWithin(blocks, moments);
    if (count < 2)
        return NoResult;
    const std::vector<uint64_t> lengths = CouponSegmentLengths(s, blockBits, count);
    if (lengths.size() < count)
        return RunOutPValue(blocks, lengths.size(), moments);
    // Lengths d, d + 1, ... and, in the last class, all longer ones.
    const std::vector<double>& probability = Memoized(std::pair{d, count}, [&] {
        return CouponLengthProbabilities(d, 5 / static_cast<double>(count));
    });
    std::vector<uint64_t> observed(probability.size() + 1, 0);
    for (uint64_t len : lengths)
        ++observed[std::min<uint64_t>(len - d, probability.size())];
    return PooledChiSquarePValue(observed, probability);
}

} // namespace zentrope
