#include "tester/distributions.h"
#include "tester/randomness_tests.h"

#include <cmath>

namespace zentrope {

// With y = 2x - (2^s - 1) the block values are centred odd integers of variance
// (4^s - 1) / 3; the lagged products are uncorrelated with mean 0, so their sum over m pairs
// divided by variance * sqrt(m) is standard normal for a random sequence.
double WindowedAutocorrelationZ(const BitSequence& s, uint64_t distance, int blockBits) {
    const auto width = static_cast<uint64_t>(blockBits);
    const uint64_t blocks = s.size / width;
    const uint64_t pairs = blocks - distance;
    const int64_t top = (int64_t{1} << blockBits) - 1;
    // Block values are read from the packed bits as needed: a copy would take 8 bytes a block.
    const auto centred = [&](uint64_t i) {
        return 2 * static_cast<int64_t>(BitsAt(s, i * width, blockBits)) - top;
    };
    int64_t sum = 0;
    for (uint64_t i = 0; i < pairs; ++i)
        sum += centred(i) * centred(i + distance);
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
