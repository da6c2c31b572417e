#include "results/stats/k_sample_ad.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace zentrope {
namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

struct CriticalPoint {
    double alpha, b0, b1, b2;
};
// Scholz and Stephens, table 1 fitted as t_m(alpha) = b0 + b1 / sqrt(m) + b2 / m.
constexpr std::array<CriticalPoint, 5> CriticalPoints = {{
    {0.25, 0.675, -0.245, -0.105},
    {0.10, 1.281, 0.250, -0.305},
    {0.05, 1.645, 0.678, -0.362},
    {0.025, 1.960, 1.149, -0.391},
    {0.01, 2.326, 1.822, -0.396},
}};

double LogOdds(double alpha) {
    return std::log(alpha / (1.0 - alpha));
}

// Values with the sample each came from, ascending by value.
std::vector<std::pair<double, int32_t>> Pooled(std::span<const std::vector<double>> samples,
                                               std::vector<int32_t>& sizes) {
    std::vector<std::pair<double, int32_t>> pooled;
    for (const std::vector<double>& sample : samples) {
        const auto index = static_cast<int32_t>(sizes.size());
        int32_t size = 0;
        for (const double v : sample) {
            if (!std::isnan(v)) {
                pooled.emplace_back(v, index);
                ++size;
            }
        }
        if (size > 0)
            sizes.push_back(size);
    }
    std::sort(pooled.begin(), pooled.end());
    return pooled;
}

// A2akN = (N-1)/N sum_i 1/n_i sum_j l_j/N (N M_aij - n_i B_aj)^2 / (B_aj (N - B_aj) - N l_j/4)
// over the distinct values z_j, with l_j values equal to z_j in all and f_ij in sample i,
// B_aj = B_j - l_j/2 and M_aij = M_ij - f_ij/2 (B_j, M_ij: values <= z_j).
double A2akN(const std::vector<std::pair<double, int32_t>>& pooled,
             const std::vector<int32_t>& sizes) {
    const auto k = sizes.size();
    const auto total = static_cast<double>(pooled.size());
    std::vector<int32_t> below(k, 0); // M_ij
    std::vector<int32_t> equal(k, 0); // f_ij
    double sum = 0;
    for (size_t first = 0; first < pooled.size();) {
        std::fill(equal.begin(), equal.end(), 0);
        size_t next = first;
        for (; next < pooled.size() && pooled[next].first == pooled[first].first; ++next)
            ++equal[pooled[next].second];
        const auto tied = static_cast<double>(next - first);         // l_j
        const double b_mid = static_cast<double>(next) - tied / 2.0; // B_j = next
        const double denominator = b_mid * (total - b_mid) - total * tied / 4.0;
        for (size_t i = 0; i < k; ++i) {
            below[i] += equal[i];
            // Zero only when every value is tied: that value says nothing about the samples.
            if (denominator <= 0.0)
                continue;
            const double m_mid = below[i] - equal[i] / 2.0;
            const double gap = total * m_mid - sizes[i] * b_mid;
            sum += tied / total * gap * gap / denominator / sizes[i];
        }
        first = next;
    }
    return (total - 1.0) / total * sum;
}

// Variance of the statistic under the null hypothesis, as the paper gives it for
// continuous distributions; its worked example standardises A2akN with it as well.
double Variance(const std::vector<int32_t>& sizes, int32_t total) {
    const double n = total;
    const double k = static_cast<double>(sizes.size());
    double big_h = 0;
    for (const int32_t size : sizes)
        big_h += 1.0 / size;
    std::vector<double> harmonic(total, 0.0); // harmonic[i] = sum_{j <= i} 1/j
    for (int32_t i = 1; i < total; ++i)
        harmonic[i] = harmonic[i - 1] + 1.0 / i;
    const double h = harmonic[total - 1];
    double g = 0; // sum_{i=1}^{N-2} sum_{j=i+1}^{N-1} 1 / ((N - i) j)
    for (int32_t i = 1; i <= total - 2; ++i)
        g += (h - harmonic[i]) / (n - i);
    const double a = (4 * g - 6) * (k - 1) + (10 - 6 * g) * big_h;
    const double b =
        (2 * g - 4) * k * k + 8 * h * k + (2 * g - 14 * h - 4) * big_h - 8 * h + 4 * g - 6;
    const double c =
        (6 * h + 2 * g - 2) * k * k + (4 * h - 4 * g + 6) * k + (2 * h - 6) * big_h + 4 * h;
    const double d = (2 * h + 6) * k * k - 4 * h * k;
    return (((a * n + b) * n + c) * n + d) / ((n - 1) * (n - 2) * (n - 3));
}

} // namespace

KSampleAd KSampleAndersonDarling(std::span<const std::vector<double>> samples) {
    std::vector<int32_t> sizes;
    const auto pooled = Pooled(samples, sizes);
    KSampleAd test;
    test.k = static_cast<int32_t>(sizes.size());
    test.n = static_cast<int32_t>(pooled.size());
    if (test.k < 2 || test.n < 4) {
        test.a2akn = test.sigma = test.t = test.p_value = NaN;
        return test;
    }
    test.a2akn = A2akN(pooled, sizes);
    test.sigma = std::sqrt(Variance(sizes, test.n));
    test.t = (test.a2akn - (test.k - 1)) / test.sigma;
    test.p_value = KSampleAdPValue(test.t, test.k - 1);
    return test;
}

double KSampleAdPValue(double t, int32_t m) {
    if (m < 1 || std::isnan(t))
        return NaN;
    const double root = std::sqrt(static_cast<double>(m));
    auto critical = [&](const CriticalPoint& point) {
        return point.b0 + point.b1 / root + point.b2 / m;
    };
    // The segment that holds t, or the end segment nearest to it.
    size_t upper = 1;
    while (upper + 1 < CriticalPoints.size() && t > critical(CriticalPoints[upper]))
        ++upper;
    const CriticalPoint& p0 = CriticalPoints[upper - 1];
    const CriticalPoint& p1 = CriticalPoints[upper];
    const double t0 = critical(p0);
    const double t1 = critical(p1);
    const double log_odds =
        LogOdds(p0.alpha) + (t - t0) * (LogOdds(p1.alpha) - LogOdds(p0.alpha)) / (t1 - t0);
    return 1.0 / (1.0 + std::exp(-log_odds));
}

} // namespace zentrope
