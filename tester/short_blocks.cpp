#include "tester/byte_lanes.h"
#include "tester/distributions.h"
#include "tester/pattern_masks.h"
#include "tester/randomness_tests.h"
#include "tester/uniform_chi_square.h"

#include <algorithm>
#include <array>
#include <cmath>

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
    if (blockBits <= MaxMaskedPatternBits) {
        std::array<uint64_t, MaxMaskedPatternBits> rows{};
        const auto bits = static_cast<size_t>(blockBits);
        for (uint64_t k = 0; k < distance; k += 64) {
            for (size_t j = 0; j < bits; ++j)
                rows[j] = WordAt(s, start + j * distance + k);
            CountMaskedPatterns(std::span(rows).first(bits), FirstPlaces(distance - k), counts);
        }
        return;
    }
    const ByteLanes<uint32_t>& lanes = LaneTable();
    std::array<uint32_t, 64> values{};
    for (uint64_t k = 0; k < distance; k += 64) {
        const int take = static_cast<int>(std::min<uint64_t>(64, distance - k));
        values.fill(0);
        for (int j = 0; j < blockBits; ++j) {
            const uint64_t row = WordAt(s, start + static_cast<uint64_t>(j) * distance + k);
            for (size_t byte = 0; byte < 8; ++byte) {
                const auto& bits = lanes[(row >> (56 - 8 * byte)) & 0xFF];
                for (size_t t = 0; t < 8; ++t)
                    values[8 * byte + t] = (values[8 * byte + t] << 1) | bits[t];
            }
        }
        for (int t = 0; t < take; ++t)
            ++counts[values[static_cast<size_t>(t)]];
    }
}

} // namespace

double ShortBlocksTest(const BitSequence& s, int blockBits, uint64_t distance) {
    const uint64_t blocks = ShortBlockCount(s.size, blockBits, distance);
    if (blocks == 0 || blockBits > 30)
        return NoResult;
    std::vector<uint64_t> counts(size_t{1} << blockBits, 0);
    const uint64_t frame = static_cast<uint64_t>(blockBits) * distance;
    for (uint64_t start = 0; start + frame <= s.size; start += frame) {
        if (distance == 1)
            ++counts[BitsAt(s, start, blockBits)];
        else
            CountFrameBlocks(s, start, blockBits, distance, counts);
    }
    const double cells = static_cast<double>(counts.size());
    return Igamc((cells - 1) / 2, UniformChiSquare(counts, blocks) / 2);
}

} // namespace zentrope
