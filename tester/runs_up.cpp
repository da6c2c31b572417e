#include "tester/distributions.h"
#include "tester/marsaglia_tests.h"
#include "tester/randomness_tests.h"

#include <algorithm>
#include <bit>
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

namespace {

// Bit i % 64 of word i / 64 says whether block i + 1 is at most block i (a run ends at i), for
// i + 1 < blocks: the comparisons are made without branches, whose outcome is a coin toss.
// block(j) reads block j.
template <class Block> std::vector<uint64_t> RunEndsOf(uint64_t blocks, Block block) {
    std::vector<uint64_t> ends(blocks < 2 ? 0 : (blocks + 62) / 64, 0);
    uint64_t last = blocks == 0 ? 0 : block(0);
    for (uint64_t w = 0; w < ends.size(); ++w) {
        const uint64_t take = std::min<uint64_t>(64, blocks - 1 - 64 * w);
        uint64_t bits = 0; // in a register: an update in memory waits on its last store
        for (uint64_t t = 0; t < take; ++t) {
            const uint64_t next = block(64 * w + t + 1);
            bits |= static_cast<uint64_t>(next <= last) << t;
            last = next;
        }
        ends[w] = bits;
    }
    return ends;
}

std::vector<uint64_t> RunEnds(const BitSequence& s, int blockBits, uint64_t blocks) {
    const auto width = static_cast<uint64_t>(blockBits);
    if (64 % width != 0)
        return RunEndsOf(blocks, [&](uint64_t j) { return BitsAt(s, j * width, blockBits); });
    // Blocks that fill words exactly are fields of one word each, read without BitsAt's test
    // for a block across two words.
    const int perWordBits = std::countr_zero(64 / width);
    const uint64_t inWord = (uint64_t{1} << perWordBits) - 1;
    const uint64_t mask = ~uint64_t{0} >> (64 - width);
    return RunEndsOf(blocks, [&](uint64_t j) {
        return (s.words[j >> perWordBits] >> (64 - width * ((j & inWord) + 1))) & mask;
    });
}

// The first run end at or after `from`, or UINT64_MAX when there is none.
uint64_t NextRunEnd(const std::vector<uint64_t>& ends, uint64_t from) {
    uint64_t w = from / 64;
    if (w >= ends.size())
        return UINT64_MAX;
    uint64_t bits = ends[w] & (~uint64_t{0} << (from % 64));
    while (bits == 0) {
        if (++w == ends.size())
            return UINT64_MAX;
        bits = ends[w];
    }
    return w * 64 + static_cast<uint64_t>(std::countr_zero(bits));
}

} // namespace

std::vector<uint64_t> RunLengthCounts(const BitSequence& s, int blockBits, int longest,
                                      uint64_t runs) {
    std::vector<uint64_t> counts(static_cast<size_t>(longest), 0);
    const uint64_t blocks = s.size / static_cast<uint64_t>(blockBits);
    const std::vector<uint64_t> ends = RunEnds(s, blockBits, blocks);
    const auto cap = static_cast<uint64_t>(longest);
    uint64_t start = 0;
    for (uint64_t found = 0; found < runs; ++found) {
        const uint64_t end = NextRunEnd(ends, start);
        if (end == UINT64_MAX)
            break; // the run may go on beyond the bits
        ++counts[static_cast<size_t>(std::min(end - start + 1, cap) - 1)];
        start = end + 2; // the value that ended the run is skipped
    }
    return counts;
}

namespace {

// Two classes: the count of runs of length 1 is binomial, and its chi-square with one degree
// of freedom takes few values (KS of 10,000 sequences of 1000 to 20,000 runs below 0.001). The
// p-value is randomized within the observed count, P(T > t) + U P(T = t) for the distance T
// from the mean, which is exactly uniform (as for Tough birthday spacings).
double TwoClassPValue(const BitSequence& s, uint64_t ones, uint64_t runs, double p) {
    const double mean = static_cast<double>(runs) * p;
    const double distance = std::fabs(static_cast<double>(ones) - mean);
    const double low = mean - distance; // the observed count or its mirror
    const double high = mean + distance;
    const auto below = [&](double x) { // P(X <= x), 0 below 0
        return x < 0 ? 0.0 : BinomialAtMost(static_cast<uint64_t>(x), runs, p);
    };
    const double lowFloor = std::floor(low);
    const double highCeil = std::ceil(high);
    // Counts strictly further from the mean than the observed one.
    const double further = below(lowFloor == low ? low - 1 : lowFloor) +
                           (1 - below(highCeil == high ? high : highCeil - 1));
    // Counts exactly as far: the observed one and its mirror when that is a whole number.
    const double atLow = lowFloor == low ? below(low) - below(low - 1) : 0;
    const double atHigh = highCeil == high && high != low && high <= static_cast<double>(runs)
                              ? below(high) - below(high - 1)
                              : 0;
    const double u = BitsFraction(s, s.size / 64);
    return std::clamp(further + u * (atLow + atHigh), 0.0, 1.0);
}

} // namespace

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
    if (blockBits == 1 || longest == 2)
        return TwoClassPValue(s, counts[0], runs, 1 - RunAtLeast(blockBits, 2));
    std::vector<double> probability;
    for (int k = 1; k < longest; ++k)
        probability.push_back(RunAtLeast(blockBits, k) - RunAtLeast(blockBits, k + 1));
    return PooledChiSquarePValue(counts, probability);
}

} // namespace zentrope
