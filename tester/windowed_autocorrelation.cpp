#include "tester/distributions.h"
#include "tester/field_products.h"
#include "tester/pattern_masks.h"
#include "tester/randomness_tests.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

namespace zentrope {

namespace {

// Sum of y_i * y_(i + distance) over i < pairs for single bits y = +-1: each pair adds 1, less 2
// where the bits differ, counted 64 pairs at a time.
ZENTROPE_WITH_POPCOUNT int64_t LaggedBitProducts(const BitSequence& s, uint64_t distance,
                                                 uint64_t pairs) {
    uint64_t differ = 0;
    for (uint64_t i = 0; i < pairs; i += 64) {
        uint64_t x = WordAt(s, i) ^ WordAt(s, i + distance);
        if (pairs - i < 64)
            x &= ~uint64_t{0} << (64 - (pairs - i));
        differ += static_cast<uint64_t>(std::popcount(x));
    }
    return static_cast<int64_t>(pairs) - 2 * static_cast<int64_t>(differ);
}

// The same for s-bit blocks, y = 2x - (2^s - 1), over pairs `from` to `pairs`: as many blocks
// as fit in 64 bits per read.
int64_t LaggedBlockProducts(const BitSequence& s, uint64_t distance, int blockBits, uint64_t from,
                            uint64_t pairs) {
    const auto width = static_cast<uint64_t>(blockBits);
    const uint64_t perRead = 64 / width;
    const uint64_t lag = distance * width;
    const uint64_t mask = (uint64_t{1} << blockBits) - 1;
    const int64_t top = static_cast<int64_t>(mask);
    int64_t sum = 0;
    for (uint64_t i = from; i < pairs; i += perRead) {
        const uint64_t a = WordAt(s, i * width);
        const uint64_t b = WordAt(s, i * width + lag);
        const uint64_t take = std::min(perRead, pairs - i);
        for (uint64_t t = 0; t < take; ++t) {
            const auto shift = static_cast<int>(64 - width * (t + 1));
            const int64_t ya = 2 * static_cast<int64_t>((a >> shift) & mask) - top;
            const int64_t yb = 2 * static_cast<int64_t>((b >> shift) & mask) - top;
            sum += ya * yb;
        }
    }
    return sum;
}

// Blocks of 2, 4, 8 or 16 bits fill whole words: the pairs in whole words are summed many at a
// time, sum y y' = 4 sum x x' - 2T (sum x + sum x') + T^2 pairs with T = 2^s - 1, and the rest
// as above.
int64_t LaggedFieldProducts(const BitSequence& s, uint64_t distance, int blockBits,
                            uint64_t pairs) {
    const auto width = static_cast<uint64_t>(blockBits);
    const uint64_t lag = distance * width;
    const uint64_t words = pairs * width / 64;
    constexpr uint64_t Batch = 256;
    std::array<uint64_t, Batch> lagged{};
    FieldSums sums;
    for (uint64_t w = 0; w < words; w += Batch) {
        const uint64_t take = std::min(Batch, words - w);
        const uint64_t* b = s.words.data() + w + lag / 64;
        if (lag % 64 != 0) {
            for (uint64_t i = 0; i < take; ++i)
                lagged[i] = WordAt(s, (w + i) * 64 + lag);
            b = lagged.data();
        }
        const FieldSums part = SumFieldProducts(s.words.data() + w, b, take, blockBits);
        sums.products += part.products;
        sums.first += part.first;
        sums.second += part.second;
    }
    const auto top = static_cast<int64_t>((uint64_t{1} << blockBits) - 1);
    const uint64_t whole = words * 64 / width;
    return 4 * static_cast<int64_t>(sums.products) -
           2 * top * static_cast<int64_t>(sums.first + sums.second) +
           top * top * static_cast<int64_t>(whole) +
           LaggedBlockProducts(s, distance, blockBits, whole, pairs);
}

} // namespace

// With y = 2x - (2^s - 1) the block values are centred odd integers of variance
// (4^s - 1) / 3; the lagged products are uncorrelated with mean 0, so their sum over m pairs
// divided by variance * sqrt(m) is standard normal for a random sequence. Block values are read
// from the packed bits as needed: a copy would take 8 bytes a block.
double WindowedAutocorrelationZ(const BitSequence& s, uint64_t distance, int blockBits) {
    const auto width = static_cast<uint64_t>(blockBits);
    const uint64_t pairs = s.size / width - distance;
    const int64_t sum = blockBits == 1 ? LaggedBitProducts(s, distance, pairs)
                        : SummedFieldBits(blockBits)
                            ? LaggedFieldProducts(s, distance, blockBits, pairs)
                            : LaggedBlockProducts(s, distance, blockBits, 0, pairs);
    const double variance = (std::ldexp(1.0, 2 * blockBits) - 1) / 3;
    return static_cast<double>(sum) / (variance * std::sqrt(static_cast<double>(pairs)));
}

double WindowedAutocorrelationTest(const BitSequence& s, uint64_t distance, int blockBits) {
    if (blockBits < 1 || blockBits > 16 || distance < 1 ||
        s.size / static_cast<uint64_t>(blockBits) <= distance)
        return NoResult;
    return NormalTwoSided(WindowedAutocorrelationZ(s, distance, blockBits));
}

} // namespace zentrope
