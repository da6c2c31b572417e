#include "tester/distributions.h"
#include "tester/marsaglia_tests.h"
#include "tester/randomness_tests.h"

#include <bit>
#include <cmath>

namespace zentrope {

uint64_t SparseOccupancyBits(int wordBits) {
    return (uint64_t{1} << (wordBits + 1)) + static_cast<uint64_t>(wordBits) - 1;
}

int SparseOccupancyWordBits(uint64_t n) {
    for (int w = SparseOccupancyMaxWord; w >= SparseOccupancyMinWord; --w)
        if (SparseOccupancyBits(w) <= n)
            return w;
    return 0;
}

uint64_t MissingWords(const BitSequence& s, uint64_t start, int wordBits) {
    const uint64_t cells = uint64_t{1} << wordBits;
    const uint64_t mask = cells - 1;
    const auto width = static_cast<uint64_t>(wordBits);
    std::vector<uint64_t> seen(static_cast<size_t>(cells / 64), 0);
    // The 64 bits read from `pos` hold the words starting at its first 65 - w places, each
    // taken with one shift: no word waits on the one before it, as a window slid bit by bit does.
    const uint64_t perRead = 65 - width;
    const uint64_t words = SparseOccupancyBits(wordBits) - width + 1;
    for (uint64_t first = 0; first < words; first += perRead) {
        const uint64_t bits = WordAt(s, start + first);
        const uint64_t take = std::min(perRead, words - first);
        for (uint64_t k = 0; k < take; ++k) {
            const uint64_t word = (bits >> (64 - width - k)) & mask;
            seen[word >> 6] |= uint64_t{1} << (word & 63);
        }
    }
    uint64_t present = 0;
    for (uint64_t word : seen)
        present += static_cast<uint64_t>(std::popcount(word));
    return cells - present;
}

double ExpectedMissingWords(int wordBits) {
    const double cells = std::ldexp(1.0, wordBits);
    return cells * std::exp(2 * cells * std::log1p(-1 / cells));
}

double MissingWordsSigma(int wordBits) {
    return 428 * std::sqrt(std::ldexp(1.0, wordBits - SparseOccupancyMaxWord));
}

double SparseOccupancyTest(const BitSequence& s) {
    const int w = SparseOccupancyWordBits(s.size);
    if (w == 0)
        return NoResult;
    const uint64_t sampleBits = SparseOccupancyBits(w);
    const uint64_t samples = s.size / sampleBits;
    double zSum = 0;
    for (uint64_t k = 0; k < samples; ++k)
        zSum +=
            (static_cast<double>(MissingWords(s, k * sampleBits, w)) - ExpectedMissingWords(w)) /
            MissingWordsSigma(w);
    return NormalTwoSided(zSum / std::sqrt(static_cast<double>(samples)));
}

} // namespace zentrope
