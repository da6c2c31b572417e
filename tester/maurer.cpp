#include "tester/distributions.h"
#include "tester/randomness_tests.h"

#include <array>
#include <cmath>

namespace zentrope {
namespace {

struct MaurerReference {
    double expected;
    double variance;
};

// Expected value and variance of fn for L = 1 to 16, as published with the test.
constexpr std::array<MaurerReference, MaurerMaxL> Reference{{
    {0.7326495, 0.690},
    {1.5374383, 1.338},
    {2.4016068, 1.901},
    {3.3112247, 2.358},
    {4.2534266, 2.705},
    {5.2177052, 2.954},
    {6.1962507, 3.125},
    {7.1836656, 3.238},
    {8.1764248, 3.311},
    {9.1723243, 3.356},
    {10.170032, 3.384},
    {11.168765, 3.401},
    {12.168070, 3.410},
    {13.167693, 3.416},
    {14.167488, 3.419},
    {15.167379, 3.421},
}};

} // namespace

MaurerStatistic MaurerFn(const BitSequence& s, int L, uint64_t q) {
    MaurerStatistic st;
    const uint64_t blocks = s.size / static_cast<uint64_t>(L);
    if (L < 1 || L > MaurerMaxL || blocks <= q)
        return st;
    // Block numbers count from 1, so 0 marks a pattern not yet seen.
    std::vector<uint64_t> lastSeen(size_t{1} << L, 0);
    const auto width = static_cast<uint64_t>(L);
    for (uint64_t i = 1; i <= q; ++i)
        lastSeen[BitsAt(s, (i - 1) * width, L)] = i;
    double sum = 0;
    for (uint64_t i = q + 1; i <= blocks; ++i) {
        uint64_t& seen = lastSeen[BitsAt(s, (i - 1) * width, L)];
        sum += std::log2(static_cast<double>(i - seen));
        seen = i;
    }
    st.k = blocks - q;
    st.fn = sum / static_cast<double>(st.k);
    return st;
}

double MaurerPValue(double fn, int L, uint64_t k) {
    if (L < 1 || L > MaurerMaxL || k == 0)
        return NoResult;
    const MaurerReference& ref = Reference[static_cast<size_t>(L - 1)];
    const double kk = static_cast<double>(k);
    // Correction of the variance for a finite number of test blocks.
    const double c = 0.7 - 0.8 / L + (4 + 32.0 / L) * std::pow(kk, -3.0 / L) / 15;
    const double sigma = c * std::sqrt(ref.variance / kk);
    return Erfc(std::fabs(fn - ref.expected) / (std::sqrt(2.0) * sigma));
}

double MaurerTest(const BitSequence& s, int L, uint64_t q) {
    const MaurerStatistic st = MaurerFn(s, L, q);
    return MaurerPValue(st.fn, L, st.k);
}

} // namespace zentrope
