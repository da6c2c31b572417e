#include "distributions.h"
#include "randomness_tests.h"
#include "uniform_chi_square.h"

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

// Counts the d blocks of the frame at `start`: block k takes bits k, k + d, ... of the frame.
// The s rows of d bits are read 64 places at a time and each place's s bits gathered.
void CountFrameBlocks(const BitSequence& s, uint64_t start, int blockBits, uint64_t distance,
                      std::vector<uint64_t>& counts) {
    std::array<uint32_t, 64> values{};
    for (uint64_t k = 0; k < distance; k += 64) {
        const int take = static_cast<int>(std::min<uint64_t>(64, distance - k));
        values.fill(0);
        for (int j = 0; j < blockBits; ++j) {
            uint64_t row = WordAt(s, start + static_cast<uint64_t>(j) * distance + k);
            for (int t = 63; t >= 0; --t, row >>= 1)
                values[static_cast<size_t>(t)] =
                    (values[static_cast<size_t>(t)] << 1) | static_cast<uint32_t>(row & 1);
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
