#include "tester/distributions.h"
#include "tester/marsaglia_tests.h"
#include "tester/popcount_clones.h"
#include "tester/randomness_tests.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <map>
#include <numeric>
#include <utility>

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
// The 16 bits of x on the even places of 32.
uint64_t SpreadToEvenPlaces(uint32_t x) {
    x = (x | (x << 8)) & 0x00FF00FFu;
    x = (x | (x << 4)) & 0x0F0F0F0Fu;
    x = (x | (x << 2)) & 0x33333333u;
    return (x | (x << 1)) & 0x55555555u;
}

// Two words with their Width-bit fields (blocks of 4 taken as bytes) in sequence order: the
// first block of a word is its most significant field, which x86 stores last.
template <int Width> __m128i InSequenceOrder(__m128i v) {
    if constexpr (Width == 32)
        return _mm_shuffle_epi32(v, 0xB1);
    v = _mm_shufflehi_epi16(_mm_shufflelo_epi16(v, 0x1B), 0x1B);
    if constexpr (Width == 16)
        return v;
    return _mm_or_si128(_mm_slli_epi16(v, 8), _mm_srli_epi16(v, 8));
}

// Bit j: the block after lane j (in `next`) is at most lane j's (in `last`). SSE2 compares
// only bytes unsigned; wider lanes are compared signed with their top bits flipped.
template <int Width> uint64_t AtMost(__m128i next, __m128i last) {
    if constexpr (Width == 4) { // a byte holds two blocks, the first in its high half
        const __m128i low = _mm_set1_epi8(0x0F);
        const __m128i first = _mm_and_si128(_mm_srli_epi16(last, 4), low);
        const __m128i second = _mm_and_si128(last, low);
        const __m128i third = _mm_and_si128(_mm_srli_epi16(next, 4), low);
        const uint64_t even = SpreadToEvenPlaces(static_cast<uint32_t>(
            _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_max_epu8(second, first), first))));
        const uint64_t odd = SpreadToEvenPlaces(static_cast<uint32_t>(
            _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_max_epu8(third, second), second))));
        return even | (odd << 1);
    } else if constexpr (Width == 8) {
        return static_cast<uint32_t>(
            _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_max_epu8(next, last), last)));
    } else if constexpr (Width == 16) {
        const __m128i flip = _mm_set1_epi16(static_cast<int16_t>(0x8000));
        const __m128i above = _mm_cmpgt_epi16(_mm_xor_si128(next, flip), _mm_xor_si128(last, flip));
        return ~static_cast<uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(above, above))) & 0xFF;
    } else {
        const __m128i flip = _mm_set1_epi32(static_cast<int32_t>(0x80000000u));
        const __m128i above = _mm_cmpgt_epi32(_mm_xor_si128(next, flip), _mm_xor_si128(last, flip));
        return ~static_cast<uint32_t>(_mm_movemask_ps(_mm_castsi128_ps(above))) & 0xF;
    }
}

__m128i LoadTwoWords(const uint64_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// Blocks of Width bits that fill words compared 16 bytes at a time: the ends of every full 64
// whose next block exists (the first of the word after them); the words of ends done.
template <int Width>
uint64_t VectorRunEndsOf(const BitSequence& s, uint64_t blocks, std::vector<uint64_t>& ends) {
    constexpr int Vectors = Width / 2; // two words each, 64 blocks in all
    constexpr int LaneBytes = Width == 4 ? 1 : Width / 8;
    const uint64_t full = blocks < 65 ? 0 : (blocks - 1) / 64; // 64 w + 64 < blocks
    for (uint64_t w = 0; w < full; ++w) {
        const uint64_t* words = s.words.data() + w * Width;
        __m128i last = InSequenceOrder<Width>(LoadTwoWords(words));
        uint64_t bits = 0;
        for (int k = 0; k < Vectors; ++k) {
            // The last vector's following block is the first of the next word, which exists.
            const __m128i following = InSequenceOrder<Width>(
                k + 1 < Vectors ? LoadTwoWords(words + 2 * k + 2)
                                : _mm_loadl_epi64(reinterpret_cast<const __m128i*>(words + Width)));
            const __m128i next = _mm_or_si128(_mm_srli_si128(last, LaneBytes),
                                              _mm_slli_si128(following, 16 - LaneBytes));
            bits |= AtMost<Width>(next, last) << (k * (64 / Vectors));
            last = following;
        }
        ends[w] = bits;
    }
    return full;
}

uint64_t VectorRunEnds(const BitSequence& s, int blockBits, uint64_t blocks,
                       std::vector<uint64_t>& ends) {
    switch (blockBits) {
    case 4:
        return VectorRunEndsOf<4>(s, blocks, ends);
    case 8:
        return VectorRunEndsOf<8>(s, blocks, ends);
    case 16:
        return VectorRunEndsOf<16>(s, blocks, ends);
    case 32:
        return VectorRunEndsOf<32>(s, blocks, ends);
    default:
        return 0;
    }
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
            const uint64_t longer = x & ~near;
            if (longer == 0)
                break; // no run of this word is as long: the longer classes get none either
            atLeast[k] += static_cast<uint64_t>(std::popcount(longer));
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

std::vector<uint64_t> CountRunLengths(const BitSequence& s, int blockBits, int longest,
                                      uint64_t runs) {
    std::vector<uint64_t> counts(static_cast<size_t>(longest), 0);
    const uint64_t blocks = s.size / static_cast<uint64_t>(blockBits);
    std::vector<uint64_t> ends; // not kept: at one bit a block it takes n / 8 bytes
    RunEnds(s, blockBits, blocks, ends);
    KeepClosingEnds(ends, runs);
    if (longest < 64)
        CountRunLengthsByWords(ends, counts);
    else
        CountRunLengthsByEnds(ends, counts);
    return counts;
}

// Lines that differ only in their run length share one count of a sequence's runs, in classes
// up to the longest a line may ask for, pooled for each line. Each thread keeps the counts of
// the last sequence it tested, and a copy of its bits to tell whether the next is the same
// (the sequence may be refilled in place); longer sequences are counted line by line.
constexpr int SharedLongest = 32;
constexpr uint64_t MostSharedWords = uint64_t{1} << 17; // 1 MiB a thread

struct RecentRunCounts {
    std::vector<uint64_t> words;
    uint64_t size = 0;
    std::map<std::pair<int, uint64_t>, std::vector<uint64_t>> counts; // by block size, runs
};

const std::vector<uint64_t>& SharedRunLengthCounts(const BitSequence& s, int blockBits,
                                                   uint64_t runs) {
    thread_local RecentRunCounts recent;
    if (recent.size != s.size || recent.words != s.words) {
        recent.words = s.words;
        recent.size = s.size;
        recent.counts.clear();
    }
    const auto [entry, added] = recent.counts.try_emplace({blockBits, runs});
    if (added)
        entry->second = CountRunLengths(s, blockBits, SharedLongest, runs);
    return entry->second;
}

} // namespace

std::vector<uint64_t> RunLengthCounts(const BitSequence& s, int blockBits, int longest,
                                      uint64_t runs) {
    if (longest > SharedLongest || s.words.size() > MostSharedWords)
        return CountRunLengths(s, blockBits, longest, runs);
    const std::vector<uint64_t>& shared = SharedRunLengthCounts(s, blockBits, runs);
    const auto top = shared.begin() + (longest - 1);
    std::vector<uint64_t> counts(shared.begin(), top + 1);
    counts.back() = std::accumulate(top, shared.end(), uint64_t{0});
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
