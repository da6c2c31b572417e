#include "tester/distributions.h"
#include "tester/randomness_tests.h"
#include "tester/uniform_chi_square.h"

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

double ShortBlocksTest(const BitSequence& s, int blockBits, uint64_t distance) {
    const uint64_t blocks = ShortBlockCount(s.size, blockBits, distance);
    if (blocks == 0 || blockBits > 30)
        return NoResult;
    std::vector<uint64_t> counts(size_t{1} << blockBits, 0);
    const uint64_t frame = static_cast<uint64_t>(blockBits) * distance;
    const auto bits = static_cast<uint64_t>(blockBits);
    for (uint64_t start = 0; start + frame <= s.size; start += frame) {
        for (uint64_t k = 0; k < distance; ++k) {
            uint64_t value = 0;
            if (distance == 1) {
                value = BitsAt(s, start, blockBits);
            } else {
                for (uint64_t j = 0; j < bits; ++j)
                    value =
                        (value << 1) | static_cast<uint64_t>(BitAt(s, start + k + j * distance));
            }
            ++counts[value];
        }
    }
    const double cells = static_cast<double>(counts.size());
    return Igamc((cells - 1) / 2, UniformChiSquare(counts, blocks) / 2);
}

} // namespace zentrope
