#include "tester/short_blocks_chi_square.h"

#include "tester/uniform_chi_square.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace zentrope {

// With 2^s classes, count - expected is D / 2^s for the integer D = count * 2^s - total. When
// the sum of the D^2 stays below 2^53, every difference, square and partial sum of the
// floating-point sum is a multiple of 2^-2s below 2^(53 - 2s), held exactly: that sum is then
// exact in any order, and equal to the integer sum scaled. Otherwise the sum is made as ever.
double BlockChiSquare(const std::vector<uint64_t>& counts, uint64_t total) {
    constexpr uint64_t ExactBelow = uint64_t{1} << 53;
    constexpr uint64_t LargestFactor = uint64_t{1} << 26; // D^2 below 2^52
    constexpr size_t Chunk = 4096;                        // 4096 D^2 below 2^64
    const uint64_t cells = counts.size();
    const int shift = std::countr_zero(cells);
    if (!std::has_single_bit(cells) || shift > 26 || total > (ExactBelow >> 1 >> shift))
        return UniformChiSquare(counts, total);
    uint64_t sum = 0;
    for (size_t first = 0; first < counts.size(); first += Chunk) {
        const size_t end = std::min(counts.size(), first + Chunk);
        uint64_t part = 0;
        uint64_t bits = 0; // every D's bits: no D reaches 2^26 when this does not
        for (size_t i = first; i < end; ++i) {
            const uint64_t scaled = counts[i] << shift;
            const uint64_t d = scaled > total ? scaled - total : total - scaled;
            bits |= d;
            const auto low = static_cast<uint32_t>(d);
            part += uint64_t{low} * low;
        }
        if (bits >= LargestFactor)
            return UniformChiSquare(counts, total);
        sum += part;
        if (sum >= ExactBelow)
            return UniformChiSquare(counts, total);
    }
    const double expected = static_cast<double>(total) / static_cast<double>(cells);
    return std::ldexp(static_cast<double>(sum), -2 * shift) / expected;
}

} // namespace zentrope
