#include "tester/distributions.h"
#include "tester/marsaglia_tests.h"
#include "tester/popcount_clones.h"
#include "tester/randomness_tests.h"

#include <algorithm>
#include <bit>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
// block(j) reads block j. Words from `firstWord` on are written.
template <class Block>
void RunEndsOf(uint64_t blocks, uint64_t firstWord, std::vector<uint64_t>& ends, Block block) {
    uint64_t last = blocks == 0 ? 0 : block(64 * firstWord);
    for (uint64_t w = firstWord; w < ends.size(); ++w) {
        const uint64_t take = std::min<uint64_t>(64, blocks - 1 - 64 * w);
        uint64_t bits = 0; // in a register: an update in memory waits on its last store
        for (uint64_t t = 0; t < take; ++t) {
            const uint64_t next = block(64 * w + t + 1);
            bits |= static_cast<uint64_t>(next <= last) << t;
            last = next;
        }
        ends[w] = bits;
    }
}

#if defined(__SSE2__)
// The word with its `width`-bit fields (4 to 32 bits, 4 taken as 8) in reverse order: the
// words read in memory order as an array of fields then hold the blocks in sequence order
// (the first block of a word is its most significant field, stored last on x86).
uint64_t FieldsReversed(uint64_t x, int width) {
    if (width <= 16)
        x = ((x >> 16) & 0x0000FFFF0000FFFFull) | ((x & 0x0000FFFF0000FFFFull) << 16);
    if (width <= 8)
        x = ((x >> 8) & 0x00FF00FF00FF00FFull) | ((x & 0x00FF00FF00FF00FFull) << 8);
    return (x >> 32) | (x << 32);
}

// The 16 bits of x on the even places of 32.
uint64_t SpreadToEvenPlaces(uint32_t x) {
    x = (x | (x << 8)) & 0x00FF00FFu;
    x = (x | (x << 4)) & 0x0F0F0F0Fu;
    x = (x | (x << 2)) & 0x33333333u;
    return (x | (x << 1)) & 0x55555555u;
}

__m128i Load(const uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// The 64 run ends from the block at `p` on (blocks in sequence order, as FieldsReversed lays
// them out), 16 comparisons at a time; the block after the 64th is read.
uint64_t RunEndsOf64(const uint8_t* p, int width) {
    uint64_t bits = 0;
    switch (width) {
    case 4: { // a byte holds two blocks, the first in its high half
        const __m128i low = _mm_set1_epi8(0x0F);
        for (int k = 0; k < 2; ++k) {
            const __m128i byte = Load(p + 16 * k);
            const __m128i first = _mm_and_si128(_mm_srli_epi16(byte, 4), low);
            const __m128i second = _mm_and_si128(byte, low);
            const __m128i third = _mm_and_si128(_mm_srli_epi16(Load(p + 16 * k + 1), 4), low);
            const auto atMost = [](__m128i next, __m128i last) {
                return static_cast<uint32_t>(
                    _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_max_epu8(next, last), last)));
            };
            const uint64_t even = SpreadToEvenPlaces(atMost(second, first));
            const uint64_t odd = SpreadToEvenPlaces(atMost(third, second));
            bits |= (even | (odd << 1)) << (32 * k);
        }
        return bits;
    }
    case 8:
        for (int k = 0; k < 4; ++k) {
            const __m128i last = Load(p + 16 * k);
            const __m128i next = Load(p + 16 * k + 1);
            const auto atMost = _mm_cmpeq_epi8(_mm_max_epu8(next, last), last);
            bits |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(atMost)))
                    << (16 * k);
        }
        return bits;
    case 16: { // SSE2 compares signed: the top bits flipped order unsigned values alike
        const __m128i flip = _mm_set1_epi16(static_cast<int16_t>(0x8000));
        const auto above = [&](int offset) {
            return _mm_cmpgt_epi16(_mm_xor_si128(Load(p + offset + 2), flip),
                                   _mm_xor_si128(Load(p + offset), flip));
        };
        for (int k = 0; k < 4; ++k) {
            const __m128i both = _mm_packs_epi16(above(32 * k), above(32 * k + 16));
            bits |= static_cast<uint64_t>(~static_cast<uint32_t>(_mm_movemask_epi8(both)) & 0xFFFF)
                    << (16 * k);
        }
        return bits;
    }
    default: { // 32
        const __m128i flip = _mm_set1_epi32(static_cast<int32_t>(0x80000000u));
        for (int k = 0; k < 16; ++k) {
            const __m128i above = _mm_cmpgt_epi32(_mm_xor_si128(Load(p + 16 * k + 4), flip),
                                                  _mm_xor_si128(Load(p + 16 * k), flip));
            bits |= static_cast<uint64_t>(~_mm_movemask_ps(_mm_castsi128_ps(above)) & 0xF)
                    << (4 * k);
        }
        return bits;
    }
    }
}

// Blocks of 4, 8, 16 or 32 bits compared 16 at a time: the ends of every full 64 whose next
// block exists; the words of ends that are left, none to all.
uint64_t VectorRunEnds(const BitSequence& s, int blockBits, uint64_t blocks,
                       std::vector<uint64_t>& ends) {
    if (blockBits != 4 && blockBits != 8 && blockBits != 16 && blockBits != 32)
        return 0;
    thread_local std::vector<uint64_t> ordered;
    ordered.resize(s.words.size());
    for (size_t i = 0; i < s.words.size(); ++i)
        ordered[i] = FieldsReversed(s.words[i], blockBits);
    const auto* bytes = reinterpret_cast<const uint8_t*>(ordered.data());
    const uint64_t full = blocks < 65 ? 0 : (blocks - 1) / 64; // 64 w + 64 < blocks
    for (uint64_t w = 0; w < full; ++w)
        ends[w] = RunEndsOf64(bytes + w * 8 * static_cast<uint64_t>(blockBits), blockBits);
    return full;
}
#else
uint64_t VectorRunEnds(const BitSequence&, int, uint64_t, std::vector<uint64_t>&) {
    return 0;
}
#endif

void RunEnds(const BitSequence& s, int blockBits, uint64_t blocks, std::vector<uint64_t>& ends) {
    ends.assign(blocks < 2 ? 0 : (blocks + 62) / 64, 0);
    const uint64_t done = VectorRunEnds(s, blockBits, blocks, ends);
    const auto width = static_cast<uint64_t>(blockBits);
    if (64 % width != 0) {
        RunEndsOf(blocks, done, ends, [&](uint64_t j) { return BitsAt(s, j * width, blockBits); });
        return;
    }
    // Blocks that fill words exactly are fields of one word each, read without BitsAt's test
    // for a block across two words.
    const int perWordBits = std::countr_zero(64 / width);
    const uint64_t inWord = (uint64_t{1} << perWordBits) - 1;
    const uint64_t mask = ~uint64_t{0} >> (64 - width);
    RunEndsOf(blocks, done, ends, [&](uint64_t j) {
        return (s.words[j >> perWordBits] >> (64 - width * ((j & inWord) + 1))) & mask;
    });
}

// The lowest `count` set bits of x.
uint64_t LowestSetBits(uint64_t x, uint64_t count) {
    uint64_t kept = 0;
    for (uint64_t k = 0; k < count && x != 0; ++k) {
        kept |= x & -x;
        x &= x - 1;
    }
    return kept;
}

constexpr uint64_t EvenPlaces = 0x5555555555555555ull;

// Keeps the ends that close the first `runs` runs. A run starts two blocks after the end that
// closed the one before (the value that ended it is skipped), so an end right after a closing
// one closes nothing: in each stretch of adjacent ends the first, third, ... close runs. The
// stretches that start on an even place are found by the carry that adding their first bits
// sends through them. Words after the last closing end are dropped.
ZENTROPE_WITH_POPCOUNT void KeepClosingEnds(std::vector<uint64_t>& ends, uint64_t runs) {
    uint64_t skipped = 0; // place 0, when the word before closed a run at its last place
    uint64_t found = 0;
    for (size_t w = 0; w < ends.size(); ++w) {
        const uint64_t x = ends[w] & ~skipped;
        const uint64_t firsts = x & ~(x << 1);
        const uint64_t evenStretches = x & ~(x + (firsts & EvenPlaces));
        uint64_t closing = (evenStretches & EvenPlaces) | (x & ~evenStretches & ~EvenPlaces);
        const auto here = static_cast<uint64_t>(std::popcount(closing));
        if (found + here >= runs) {
            ends[w] = LowestSetBits(closing, runs - found);
            ends.resize(w + 1);
            return;
        }
        found += here;
        ends[w] = closing;
        skipped = closing >> 63;
    }
}

// A run closed at i is as long as the distance from the closing end before it, less one; the
// first run starts at block 0 as if one had closed at -2.
constexpr uint64_t EndBeforeFirst = uint64_t{1} << 62;

// Runs of each length class from closing ends, 64 at a time: a run is at least k long when
// none of the k places before its end closes a run. For classes up to 63, which look back
// one word at most.
ZENTROPE_WITH_POPCOUNT void CountRunLengthsByWords(const std::vector<uint64_t>& closing,
                                                   std::vector<uint64_t>& counts) {
    const size_t longest = counts.size();
    std::vector<uint64_t> atLeast(longest + 1, 0);
    uint64_t before = EndBeforeFirst;
    for (uint64_t x : closing) {
        uint64_t near = 0;
        for (size_t k = 1; k <= longest; ++k) {
            near |= (x << k) | (before >> (64 - k));
            atLeast[k] += static_cast<uint64_t>(std::popcount(x & ~near));
        }
        before = x;
    }
    for (size_t k = 1; k <= longest; ++k)
        counts[k - 1] = atLeast[k] - (k < longest ? atLeast[k + 1] : 0);
}

// The same for any class, end by end.
void CountRunLengthsByEnds(const std::vector<uint64_t>& closing, std::vector<uint64_t>& counts) {
    const uint64_t cap = counts.size();
    uint64_t start = 0;
    for (size_t w = 0; w < closing.size(); ++w)
        for (uint64_t x = closing[w]; x != 0; x &= x - 1) {
            const uint64_t end = 64 * w + static_cast<uint64_t>(std::countr_zero(x));
            ++counts[static_cast<size_t>(std::min(end - start + 1, cap) - 1)];
            start = end + 2;
        }
}

} // namespace

std::vector<uint64_t> RunLengthCounts(const BitSequence& s, int blockBits, int longest,
                                      uint64_t runs) {
    std::vector<uint64_t> counts(static_cast<size_t>(longest), 0);
    const uint64_t blocks = s.size / static_cast<uint64_t>(blockBits);
    thread_local std::vector<uint64_t> ends;
    RunEnds(s, blockBits, blocks, ends);
    KeepClosingEnds(ends, runs);
    if (longest < 64)
        CountRunLengthsByWords(ends, counts);
    else
        CountRunLengthsByEnds(ends, counts);
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
