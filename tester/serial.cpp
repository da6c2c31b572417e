#include "tester/distributions.h"
#include "tester/pattern_masks.h"
#include "tester/randomness_tests.h"
#include "tester/uniform_chi_square.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zentrope {
namespace {

// Counts of the n overlapping m-bit patterns, the sequence read as a ring: the window takes
// bits m - 1 .. n - 1 and then, around the ring, bits 0 .. m - 2; whole words are read at once.
std::vector<uint64_t> CountPatternsInWindow(const BitSequence& s, int m) {
    std::vector<uint64_t> counts(size_t{1} << m, 0);
    const uint64_t mask = (uint64_t{1} << m) - 1;
    const auto before = static_cast<uint64_t>(m - 1);
    uint64_t window = 0;
    const auto push = [&](uint64_t bit) {
        window = ((window << 1) | bit) & mask;
        ++counts[window];
    };
    for (uint64_t i = 0; i < before; ++i)
        window = (window << 1) | static_cast<uint64_t>(BitAt(s, i % s.size));
    uint64_t i = before;
    for (; i < s.size && i % 64 != 0; ++i)
        push(static_cast<uint64_t>(BitAt(s, i)));
    for (; i + 64 <= s.size; i += 64) {
        const uint64_t word = s.words[i / 64];
        for (int b = 63; b >= 0; --b)
            push((word >> b) & 1);
    }
    for (uint64_t k = i; k < s.size + before; ++k)
        push(static_cast<uint64_t>(BitAt(s, k % s.size)));
    return counts;
}

// The 64 bits of the ring from `pos` on.
uint64_t RingWord(const BitSequence& s, uint64_t pos) {
    if (pos + 64 <= s.size)
        return BitsAt(s, pos, 64);
    uint64_t word = 0;
    for (uint64_t k = 0; k < 64; ++k)
        word = (word << 1) | static_cast<uint64_t>(BitAt(s, (pos + k) % s.size));
    return word;
}

// Short patterns 64 start positions at a time: word j is the ring from the places on, shifted
// by j.
ZENTROPE_WITH_POPCOUNT std::vector<uint64_t> CountPatternsByMasks(const BitSequence& s, int m) {
    std::vector<uint64_t> counts(size_t{1} << m, 0);
    std::array<uint64_t, MaxMaskedPatternBits> rows{};
    const auto bits = static_cast<size_t>(m);
    uint64_t i = 0;
    // Within the words the shifted rows are two words' bits; near the end they wrap around.
    for (size_t w = 0; i + 128 <= s.size; ++w, i += 64) {
        rows[0] = s.words[w];
        for (size_t j = 1; j < bits; ++j)
            rows[j] = (s.words[w] << j) | (s.words[w + 1] >> (64 - j));
        CountMaskedPatterns(std::span(rows).first(bits), ~uint64_t{0}, counts);
    }
    for (; i < s.size; i += 64) {
        for (size_t j = 0; j < bits; ++j)
            rows[j] = RingWord(s, i + j);
        CountMaskedPatterns(std::span(rows).first(bits), FirstPlaces(s.size - i), counts);
    }
    return counts;
}

std::vector<uint64_t> CyclicPatternCounts(const BitSequence& s, int m) {
    return m <= MaxMaskedPatternBits ? CountPatternsByMasks(s, m) : CountPatternsInWindow(s, m);
}

// The counts of (m-1)-bit patterns follow from those of m-bit patterns on a ring.
std::vector<uint64_t> FoldCounts(const std::vector<uint64_t>& counts) {
    std::vector<uint64_t> folded(counts.size() / 2, 0);
    for (size_t p = 0; p < counts.size(); ++p)
        folded[p >> 1] += counts[p];
    return folded;
}

} // namespace

SerialStatistics SerialPsi(const BitSequence& s, int m) {
    SerialStatistics st;
    if (m < 1 || s.size == 0)
        return st;
    std::vector<uint64_t> counts = CyclicPatternCounts(s, m);
    st.psiM = UniformChiSquare(counts, s.size);
    if (m >= 2) {
        counts = FoldCounts(counts);
        st.psiM1 = UniformChiSquare(counts, s.size);
    }
    if (m >= 3)
        st.psiM2 = UniformChiSquare(FoldCounts(counts), s.size);
    return st;
}

double SerialFirstPValue(const SerialStatistics& st, int m) {
    return Igamc(std::ldexp(1.0, m - 2), (st.psiM - st.psiM1) / 2.0);
}

double SerialSecondPValue(const SerialStatistics& st, int m) {
    if (m < 2)
        return NoResult;
    return Igamc(std::ldexp(1.0, m - 3), (st.psiM - 2 * st.psiM1 + st.psiM2) / 2.0);
}

double SerialTest(const BitSequence& s, int m) {
    if (m < 1 || s.size == 0)
        return NoResult;
    return SerialFirstPValue(SerialPsi(s, m), m);
}

} // namespace zentrope
