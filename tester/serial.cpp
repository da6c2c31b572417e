#include "tester/distributions.h"
#include "tester/randomness_tests.h"
#include "tester/uniform_chi_square.h"

#include <cmath>

namespace zentrope {
namespace {

// Counts of the n overlapping m-bit patterns, the sequence read as a ring.
std::vector<uint64_t> CyclicPatternCounts(const BitSequence& s, int m) {
    std::vector<uint64_t> counts(size_t{1} << m, 0);
    const uint64_t mask = (uint64_t{1} << m) - 1;
    uint64_t window = 0;
    for (int i = 0; i < m - 1; ++i)
        window = (window << 1) | static_cast<uint64_t>(BitAt(s, static_cast<uint64_t>(i) % s.size));
    for (uint64_t i = 0; i < s.size; ++i) {
        uint64_t next = i + static_cast<uint64_t>(m) - 1;
        if (next >= s.size)
            next -= s.size;
        window = ((window << 1) | static_cast<uint64_t>(BitAt(s, next))) & mask;
        ++counts[window];
    }
    return counts;
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
    st.psi_m = UniformChiSquare(counts, s.size);
    if (m >= 2) {
        counts = FoldCounts(counts);
        st.psi_m1 = UniformChiSquare(counts, s.size);
    }
    if (m >= 3)
        st.psi_m2 = UniformChiSquare(FoldCounts(counts), s.size);
    return st;
}

double SerialFirstPValue(const SerialStatistics& st, int m) {
    return Igamc(std::ldexp(1.0, m - 2), (st.psi_m - st.psi_m1) / 2.0);
}

double SerialSecondPValue(const SerialStatistics& st, int m) {
    if (m < 2)
        return NoResult;
    return Igamc(std::ldexp(1.0, m - 3), (st.psi_m - 2 * st.psi_m1 + st.psi_m2) / 2.0);
}

double SerialTest(const BitSequence& s, int m) {
    if (m < 1 || s.size == 0)
        return NoResult;
    return SerialFirstPValue(SerialPsi(s, m), m);
}

} // namespace zentrope
