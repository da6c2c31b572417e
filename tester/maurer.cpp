#include "tester/distributions.h"
#include "tester/memoized.h"
#include "tester/randomness_tests.h"

#include <array>
#include <cmath>
#include <vector>

namespace zentrope {
namespace {

// Expected value of fn for L = 1 to 16, as published with the test.
constexpr std::array<double, MaurerMaxL> Expected{
    0.7326495, 1.5374383, 2.4016068, 3.3112247, 4.2534266, 5.2177052, 6.1962507, 7.1836656,
    8.1764248, 9.1723243, 10.170032, 11.168765, 12.168070, 13.167693, 14.167488, 15.167379,
};

// Distances beyond this many times 2^L have a chance below e^-40 and are left out.
constexpr double DistanceSpan = 40;

// Var log2 A and the sums of its covariances with later distances, by the method of Coron and
// Naccache: for blocks n < m = n + j only a later distance reaching back past n depends on
// A_n. With q = 1 - 2^-L, r = (2^L - 2) / (2^L - 1), F(u) = sum_j q^(j-1) log2(j + u) and
// G(u) = sum_j j q^(j-1) log2(j + u), the sums over j of the covariances C(j) and j C(j) take
// one pass over the distance u each way.
MaurerVarianceFactors ComputeVarianceFactors(int L) {
    const double v = std::ldexp(1.0, L);
    const double p = 1 / v;
    const double q = 1 - p;
    const double r = (v - 2) / (v - 1);
    const auto span = static_cast<size_t>(DistanceSpan * v) + 64;
    std::vector<double> f(span + 1, 0);
    std::vector<double> g(span + 1, 0);
    for (size_t u = span - 1; u >= 1; --u) {
        const double next = std::log2(static_cast<double>(u + 1));
        f[u] = next + q * f[u + 1];
        g[u] = next + q * (g[u + 1] + f[u + 1]);
    }
    // Per covariance sum: the terms of distances u < i, of u > i, and the product of means.
    long double mean = 0, square = 0, below1 = 0, below2 = 0, above1 = 0, above2 = 0;
    long double mean1 = 0, mean2 = 0, w = 0, qPower = 1, rPower = 1; // q^(u-1), r^(u-1)
    for (size_t u = 1; u < span; ++u) {
        const double logU = std::log2(static_cast<double>(u));
        mean += p * qPower * logU;
        square += p * qPower * logU * logU;
        below1 += rPower * qPower * q * f[u] * f[u];
        below2 += rPower * qPower * q * f[u] * g[u];
        above1 += qPower * f[u] * w;
        above2 += qPower * g[u] * w;
        mean1 += qPower * q * f[u];
        mean2 += qPower * q * g[u];
        w += logU * rPower;
        qPower *= q;
        rPower *= r;
    }
    const long double sumC = p * (p * (below1 + above1) - mean * mean1);
    const long double sumJC = p * (p * (below2 + above2) - mean * mean2);
    const long double variance = square - mean * mean;
    return {static_cast<double>(variance), static_cast<double>((variance + 2 * sumC) / variance),
            static_cast<double>(-2 * sumJC / variance / v)};
}

} // namespace

MaurerVarianceFactors VarianceFactors(int L) {
    return Memoized(L, [L] { return ComputeVarianceFactors(L); });
}

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
    const MaurerVarianceFactors factors = VarianceFactors(L);
    const double kk = static_cast<double>(k);
    const double c2 = factors.d + factors.e * std::ldexp(1.0, L) / kk;
    const double sigma = std::sqrt(c2 * factors.variance / kk);
    return Erfc(std::fabs(fn - Expected[static_cast<size_t>(L - 1)]) / (std::sqrt(2.0) * sigma));
}

double MaurerTest(const BitSequence& s, int L, uint64_t q) {
    const MaurerStatistic st = MaurerFn(s, L, q);
    return MaurerPValue(st.fn, L, st.k);
}

} // namespace zentrope
