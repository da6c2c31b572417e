#include "tester/byte_lanes.h"
#include "tester/distributions.h"
#include "tester/pattern_masks.h"
#include "tester/randomness_tests.h"
#include "tester/short_blocks_chi_square.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <map>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zentrope {

// Frames of s * d bits hold d blocks each: block k of a frame takes the frame's bits k,
// k + d, k + 2d, ... Every bit serves one block only, so the blocks are independent.
uint64_t ShortBlockCount(uint64_t n, int blockBits, uint64_t distance) {
    if (blockBits < 1 || distance < 1)
        return 0;
    const uint64_t frame = static_cast<uint64_t>(blockBits) * distance;
    return n / frame * distance;
}

namespace {

// Blocks up to this many bits are gathered 64 at a time by a transpose of their rows.
constexpr int WideBlockBits = 16;

using Rows = std::array<uint64_t, WideBlockBits>;

// Sets values[t] to the bits of place t of rows[0..blockBits), row 0 the most significant,
// for blocks of at most WideBlockBits bits; the rows beyond blockBits are zero.
#if defined(__SSE2__)
// The 16 rows, taken as 16 x 8 bytes with the last row first, are transposed into eight
// vectors of one byte of every row; each byte's most significant bits, the place that comes
// first, are then gathered by movemask, one place after another. The arrays are left
// uninitialised: every element is written before it is read, and clearing them took a fifth
// of the count.
[[gnu::always_inline]] inline void PlaceValues(const Rows& rows, int blockBits,
                                               std::array<uint16_t, 64>& values) {
    const auto load = [&](size_t j) { // row 15 - j
        return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(&rows[WideBlockBits - 1 - j]));
    };
    __m128i pairs[8]; // 16-bit lane m: byte m of rows 15 - 2k, 14 - 2k
    for (size_t k = 0; k < 8; ++k)
        pairs[k] = _mm_unpacklo_epi8(load(2 * k), load(2 * k + 1));
    __m128i quads[8]; // 32-bit lanes: bytes 0-3 (even index) or 4-7 of four rows
    for (size_t g = 0; g < 4; ++g) {
        quads[2 * g] = _mm_unpacklo_epi16(pairs[2 * g], pairs[2 * g + 1]);
        quads[2 * g + 1] = _mm_unpackhi_epi16(pairs[2 * g], pairs[2 * g + 1]);
    }
    __m128i octets[8]; // 64-bit lanes: two bytes of eight rows
    for (size_t h = 0; h < 2; ++h)
        for (size_t half = 0; half < 2; ++half) {
            const __m128i a = quads[4 * h + half];
            const __m128i b = quads[4 * h + 2 + half];
            octets[4 * h + 2 * half] = _mm_unpacklo_epi32(a, b);
            octets[4 * h + 2 * half + 1] = _mm_unpackhi_epi32(a, b);
        }
    const int shift = WideBlockBits - blockBits;
    for (size_t q = 0; q < 4; ++q)
        for (size_t side = 0; side < 2; ++side) {
            __m128i bytes = side == 0 ? _mm_unpacklo_epi64(octets[q], octets[4 + q])
                                      : _mm_unpackhi_epi64(octets[q], octets[4 + q]);
            // Byte m of a word holds its places 8 (7 - m) to 8 (7 - m) + 7.
            const size_t first = 8 * (7 - (2 * q + side));
            for (size_t t = 0; t < 8; ++t) {
                values[first + t] = static_cast<uint16_t>(_mm_movemask_epi8(bytes) >> shift);
                bytes = _mm_add_epi8(bytes, bytes);
            }
        }
}
#else
void PlaceValues(const Rows& rows, int blockBits, std::array<uint16_t, 64>& values) {
    values.fill(0);
    for (size_t t = 0; t < 64; ++t)
        for (size_t j = 0; j < static_cast<size_t>(blockBits); ++j)
            values[t] = static_cast<uint16_t>((values[t] << 1) | ((rows[j] >> (63 - t)) & 1));
}
#endif

// Each byte's eight bits as 0 or 1, the first in lane 0: a row's bits join eight values at a
// time in a loop the compiler turns into vector instructions.
const ByteLanes<uint32_t>& LaneTable() {
    static const ByteLanes<uint32_t> table = MakeByteLanes<uint32_t>(1, 0);
    return table;
}

// Counts the d blocks of the frame at `start`: block k takes bits k, k + d, ... of the frame.
// The s rows of d bits are read 64 places at a time and each place's s bits gathered.
ZENTROPE_WITH_POPCOUNT void CountFrameBlocks(const BitSequence& s, uint64_t start, int blockBits,
                                             uint64_t distance, std::vector<uint64_t>& counts) {
    const auto row = [&](int j, uint64_t k) {
        return WordAt(s, start + static_cast<uint64_t>(j) * distance + k);
    };
    if (blockBits <= MaxMaskedPatternBits) {
        std::array<uint64_t, MaxMaskedPatternBits> rows{};
        const auto bits = static_cast<size_t>(blockBits);
        for (uint64_t k = 0; k < distance; k += 64) {
            for (size_t j = 0; j < bits; ++j)
                rows[j] = row(static_cast<int>(j), k);
            CountMaskedPatterns(std::span(rows).first(bits), FirstPlaces(distance - k), counts);
        }
        return;
    }
    if (blockBits <= WideBlockBits) {
        Rows rows{};
        std::array<uint16_t, 64> values;
        for (uint64_t k = 0; k < distance; k += 64) {
            const auto take = static_cast<size_t>(std::min<uint64_t>(64, distance - k));
            for (int j = 0; j < blockBits; ++j)
                rows[static_cast<size_t>(j)] = row(j, k);
            PlaceValues(rows, blockBits, values);
            for (size_t t = 0; t < take; ++t)
                ++counts[values[t]];
        }
        return;
    }
    const ByteLanes<uint32_t>& lanes = LaneTable();
    std::array<uint32_t, 64> values{};
    for (uint64_t k = 0; k < distance; k += 64) {
        const auto take = static_cast<size_t>(std::min<uint64_t>(64, distance - k));
        values.fill(0);
        for (int j = 0; j < blockBits; ++j) {
            const uint64_t bits = row(j, k);
            for (size_t byte = 0; byte < 8; ++byte) {
                const auto& lane = lanes[(bits >> (56 - 8 * byte)) & 0xFF];
                for (size_t t = 0; t < 8; ++t)
                    values[8 * byte + t] = (values[8 * byte + t] << 1) | lane[t];
            }
        }
        for (size_t t = 0; t < take; ++t)
            ++counts[values[t]];
    }
}

// Adds the counts of the blocks in the frames from `firstFrame` on, frame by frame.
void AddBlockCounts(const BitSequence& s, int blockBits, uint64_t distance, uint64_t firstFrame,
                    std::vector<uint64_t>& counts) {
    const uint64_t frame = static_cast<uint64_t>(blockBits) * distance;
    for (uint64_t start = firstFrame * frame; start + frame <= s.size; start += frame) {
        if (distance == 1)
            ++counts[BitsAt(s, start, blockBits)];
        else
            CountFrameBlocks(s, start, blockBits, distance, counts);
    }
}

// A frame of 2s bits is two frames of s bits, block k of the first the high half of its block
// k: the s-bit counts at one distance are the counts of both halves of the 2s-bit blocks, and
// of the last frame of s bits when their number is odd. Lines of 2, 4, 8 and 16 bits at one
// distance share one count of 16-bit blocks this way, halved level by level. Each thread keeps
// the counts of the last sequence it tested, and a copy of its bits to tell whether the next
// is the same (the sequence may be refilled in place); longer sequences are counted line by
// line. The counts of a few distances are kept (0.7 MiB each), of any more one is dropped.
constexpr uint64_t MostSharedWords = uint64_t{1} << 17; // 1 MiB a thread
constexpr size_t MostSharedDistances = 4;
constexpr int WideLevel = std::countr_zero(unsigned{WideBlockBits});

struct SharedLevels {
    std::array<std::vector<uint64_t>, WideLevel + 1> counts; // by log2 of the block size
    std::array<bool, WideLevel + 1> made{};
};

struct RecentCounts {
    std::vector<uint64_t> words;
    uint64_t size = 0;
    std::map<uint64_t, SharedLevels> byDistance; // kept across sequences: no page faults
};

void HalveInto(const std::vector<uint64_t>& wide, int halfBits, std::vector<uint64_t>& counts) {
    const size_t cells = size_t{1} << halfBits;
    for (size_t high = 0; high < cells; ++high) {
        const uint64_t* row = wide.data() + (high << halfBits);
        uint64_t sum = 0;
        for (size_t low = 0; low < cells; ++low) {
            sum += row[low];
            counts[low] += row[low];
        }
        counts[high] += sum;
    }
}

const std::vector<uint64_t>& LevelCounts(const BitSequence& s, uint64_t distance, int level,
                                         SharedLevels& levels) {
    auto& counts = levels.counts[static_cast<size_t>(level)];
    if (levels.made[static_cast<size_t>(level)])
        return counts;
    const int blockBits = 1 << level;
    counts.assign(size_t{1} << blockBits, 0);
    if (level == WideLevel) {
        AddBlockCounts(s, blockBits, distance, 0, counts);
    } else {
        const uint64_t wideFrames = s.size / (2 * static_cast<uint64_t>(blockBits) * distance);
        HalveInto(LevelCounts(s, distance, level + 1, levels), blockBits, counts);
        AddBlockCounts(s, blockBits, distance, 2 * wideFrames, counts);
    }
    levels.made[static_cast<size_t>(level)] = true;
    return counts;
}

const std::vector<uint64_t>& SharedCounts(const BitSequence& s, int blockBits, uint64_t distance) {
    thread_local RecentCounts recent;
    if (recent.size != s.size || recent.words != s.words) {
        recent.words = s.words;
        recent.size = s.size;
        for (auto& entry : recent.byDistance)
            entry.second.made.fill(false);
    }
    if (recent.byDistance.size() >= MostSharedDistances && !recent.byDistance.contains(distance))
        recent.byDistance.erase(recent.byDistance.begin());
    return LevelCounts(s, distance, std::countr_zero(static_cast<unsigned>(blockBits)),
                       recent.byDistance[distance]);
}

ZENTROPE_WITH_POPCOUNT uint64_t FirstOnes(const BitSequence& s, uint64_t bits) {
    uint64_t ones = 0;
    for (size_t w = 0; w < bits / 64; ++w)
        ones += static_cast<uint64_t>(std::popcount(s.words[w]));
    return ones + CountOnes(s, bits / 64 * 64, bits % 64);
}

double PValue(const std::vector<uint64_t>& counts, uint64_t blocks) {
    const double cells = static_cast<double>(counts.size());
    return Igamc((cells - 1) / 2, BlockChiSquare(counts, blocks) / 2);
}

} // namespace

double ShortBlocksTest(const BitSequence& s, int blockBits, uint64_t distance) {
    const uint64_t blocks = ShortBlockCount(s.size, blockBits, distance);
    if (blocks == 0 || blockBits > 30)
        return NoResult;
    if (blockBits == 1) { // the blocks are the first n / d * d bits
        const uint64_t ones = FirstOnes(s, blocks);
        return PValue({blocks - ones, ones}, blocks);
    }
    const bool shared = WideBlockBits % blockBits == 0 && s.words.size() <= MostSharedWords &&
                        ShortBlockCount(s.size, WideBlockBits, distance) > 0;
    if (shared)
        return PValue(SharedCounts(s, blockBits, distance), blocks);
    std::vector<uint64_t> counts(size_t{1} << blockBits, 0);
    AddBlockCounts(s, blockBits, distance, 0, counts);
    return PValue(counts, blocks);
}

} // namespace zentrope
