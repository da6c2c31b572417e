#include "goodness_of_fit.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <utility>

namespace zentrope {
void SortPValues(double* values, int32_t n) {
    if (n < 2)
        return;
    // NaN has no order: it goes after every number, which keeps the comparison of the
    // numbers a strict weak order.
    double* const numbers_end =
        std::partition(values, values + n, [](double v) { return !std::isnan(v); });
    std::sort(values, numbers_end);
}

namespace {

// The bits of a double as an unsigned key in the doubles' order: negative values have all
// bits flipped, others only the sign bit. -0 comes just before +0, which compare equal.
uint64_t OrderKey(double v) {
    const auto bits = std::bit_cast<uint64_t>(v);
    return (bits >> 63) != 0 ? ~bits : bits | (uint64_t{1} << 63);
}

double FromOrderKey(uint64_t key) {
    return std::bit_cast<double>((key >> 63) != 0 ? key & ~(uint64_t{1} << 63) : ~key);
}

} // namespace

void SortPValuesWithRoom(double* values, int32_t n, uint64_t* room) {
    if (n < 2 || std::any_of(values, values + n, [](double v) { return std::isnan(v); })) {
        SortPValues(values, n);
        return;
    }
    // Least significant byte first; a byte that all keys share needs no pass.
    constexpr int Bytes = 8;
    std::array<std::array<int32_t, 256>, Bytes> counts{};
    uint64_t* keys = room;
    uint64_t* other = room + n;
    for (int32_t i = 0; i < n; ++i) {
        keys[i] = OrderKey(values[i]);
        for (int b = 0; b < Bytes; ++b)
            ++counts[size_t(b)][(keys[i] >> (8 * b)) & 0xff];
    }
    for (int b = 0; b < Bytes; ++b) {
        auto& count = counts[size_t(b)];
        if (count[(keys[0] >> (8 * b)) & 0xff] == n)
            continue;
        int32_t start = 0;
        for (int32_t& c : count)
            start += std::exchange(c, start);
        for (int32_t i = 0; i < n; ++i)
            other[count[(keys[i] >> (8 * b)) & 0xff]++] = keys[i];
        std::swap(keys, other);
    }
    for (int32_t i = 0; i < n; ++i)
        values[i] = FromOrderKey(keys[i]);
}

double KolmogorovQ(double lambda) {
    if (!(lambda >= 0.2))
        return 1.0;
    const double a = -2.0 * lambda * lambda;
    double s = 0;
    // Ends by j = 16 for lambda >= 0.2; the first term below 1e-8 is still added.
    for (int32_t j = 1;; ++j) {
        const double t = std::exp(a * (j * j));
        s = t - s;
        if (t < 1e-8)
            break;
    }
    return 2.0 * std::fabs(s);
}

KsDistance KsDistanceOf(const double* sorted, int32_t n) {
    KsDistance distance;
    double below = 0; // (i - 1) / n
    for (int32_t i = 1; i <= n; ++i) {
        const double above = static_cast<double>(i) / n;
        const double d =
            std::max(std::fabs(below - sorted[i - 1]), std::fabs(above - sorted[i - 1]));
        if (d > distance.d)
            distance = {d, i - 1};
        below = above;
    }
    return distance;
}

double KsPValue(const double* sorted, int32_t n) {
    const double r = std::sqrt(static_cast<double>(n));
    return KolmogorovQ((r + 0.12 + 0.11 / r) * KsDistanceOf(sorted, n).d);
}

double AdStatistic(const double* sorted, int32_t n) {
    double s = -static_cast<double>(n) * n;
    for (int32_t i = 0; i < n; ++i) {
        double p = sorted[i] * (1.0 - sorted[n - 1 - i]);
        // A value of exactly 0 or 1 would give log(0); the floor keeps A large but finite.
        if (!(p >= 1e-20))
            p = 1e-20;
        s -= (2.0 * i + 1.0) * std::log(p);
    }
    return s / n;
}

double AdPValueOfStatistic(double a) {
    if (!(a >= 0.01))
        return 1.0;
    if (a <= 2)
        return 1.0 - 2.0 * std::exp(-1.2337 / a) * (1.0 + a / 8.0 - 0.04958 * a * a / (a + 1.325)) /
                         std::sqrt(a);
    if (a <= 4)
        return 0.6621361 * std::exp(-1.091638 * a) + 0.95059 * std::exp(-2.005138 * a);
    return 0.4938691 * std::exp(-1.050321 * a) + 0.5946335 * std::exp(-1.527198 * a);
}

double AdPValue(const double* sorted, int32_t n) {
    return AdPValueOfStatistic(AdStatistic(sorted, n));
}

double SlPercent(const double* sorted, int32_t n) {
    double deviation = 0;
    double line = 0;
    for (int32_t i = 0; i < n; ++i) {
        const double u = static_cast<double>(i) / (n - 1);
        deviation += (u - sorted[i]) * (u - sorted[i]);
        line += u * u;
    }
    return 100.0 * deviation / line;
}

} // namespace zentrope
