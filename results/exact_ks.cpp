#include "exact_ks.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace zentrope {
namespace {

// From n d^2 = 4 on, the two-sided tail is twice the one-sided one to about 1e-10 of its
// value (the next term of Kolmogorov's series is exp(-6 n d^2) smaller), and the matrix of
// size 2 n d would grow without need.
constexpr double SmirnovFrom = 4.0;

// Powers of two past this move into a separate exponent, so that the power of a matrix
// whose entries grow like n^n / n! stays within doubles.
constexpr int ScaleBits = 460;

// A square matrix, row by row, worth values * 2^exponent.
struct ScaledMatrix {
    int32_t m = 0;
    std::vector<double> values;
    int64_t exponent = 0;
};

ScaledMatrix Product(const ScaledMatrix& a, const ScaledMatrix& b) {
    const int32_t m = a.m;
    ScaledMatrix c{m, std::vector<double>(static_cast<size_t>(m) * m, 0.0),
                   a.exponent + b.exponent};
    for (int32_t i = 0; i < m; ++i) {
        double* row = &c.values[static_cast<size_t>(i) * m];
        for (int32_t l = 0; l < m; ++l) {
            const double a_il = a.values[static_cast<size_t>(i) * m + l];
            if (a_il == 0.0)
                continue;
            const double* b_row = &b.values[static_cast<size_t>(l) * m];
            for (int32_t j = 0; j < m; ++j)
                row[j] += a_il * b_row[j];
        }
    }
    const double centre = c.values[static_cast<size_t>(m / 2) * m + m / 2];
    if (centre > std::ldexp(1.0, ScaleBits)) {
        for (double& v : c.values)
            v = std::ldexp(v, -ScaleBits);
        c.exponent += ScaleBits;
    }
    return c;
}

ScaledMatrix Power(const ScaledMatrix& h, int32_t n) {
    int top = 30;
    while (!(n >> top & 1))
        --top;
    ScaledMatrix result = h;
    for (int bit = top - 1; bit >= 0; --bit) {
        result = Product(result, result);
        if (n >> bit & 1)
            result = Product(result, h);
    }
    return result;
}

// The matrix H of Marsaglia, Tsang and Wang for d = (k - h) / n, 0 < h <= 1, of size
// m = 2k - 1: H[i][j] = 1 / (i - j + 1)! for i - j + 1 >= 0 with corrections for h in the
// first column and the last row.
ScaledMatrix KolmogorovMatrix(int32_t k, double h) {
    const int32_t m = 2 * k - 1;
    ScaledMatrix matrix{m, std::vector<double>(static_cast<size_t>(m) * m, 0.0), 0};
    auto at = [&](int32_t i, int32_t j) -> double& {
        return matrix.values[static_cast<size_t>(i) * m + j];
    };
    for (int32_t i = 0; i < m; ++i)
        for (int32_t j = 0; j <= std::min(i + 1, m - 1); ++j)
            at(i, j) = 1.0;
    for (int32_t i = 0; i < m; ++i) {
        at(i, 0) -= std::pow(h, i + 1);
        at(m - 1, i) -= std::pow(h, m - i);
    }
    if (2.0 * h - 1.0 > 0.0)
        at(m - 1, 0) += std::pow(2.0 * h - 1.0, m);
    for (int32_t i = 0; i < m; ++i) {
        double factorial = 1.0;
        for (int32_t j = i; j >= 0; --j) {
            factorial *= i - j + 1;
            at(i, j) /= factorial;
        }
    }
    return matrix;
}

} // namespace

double KolmogorovCdf(int32_t n, double d) {
    if (n < 1 || std::isnan(d))
        return std::numeric_limits<double>::quiet_NaN();
    // Every value is at least 1/(2n) from the diagonal somewhere.
    if (d <= 0.5 / n)
        return 0.0;
    if (d >= 1.0)
        return 1.0;
    const int32_t k = static_cast<int32_t>(n * d) + 1;
    const ScaledMatrix power = Power(KolmogorovMatrix(k, k - n * d), n);
    // P = n! / n^n * (H^n)[k-1][k-1], the factorial ratio taken step by step.
    double s = power.values[static_cast<size_t>(k - 1) * power.m + (k - 1)];
    int64_t exponent = power.exponent;
    for (int32_t i = 1; i <= n; ++i) {
        s = s * i / n;
        if (s < std::ldexp(1.0, -ScaleBits)) {
            s = std::ldexp(s, ScaleBits);
            exponent -= ScaleBits;
        }
    }
    const int64_t clamped = std::clamp<int64_t>(exponent, -4000, 4000);
    return std::min(1.0, std::ldexp(s, static_cast<int>(clamped)));
}

double SmirnovUpperTail(int32_t n, double d) {
    if (n < 1 || std::isnan(d))
        return std::numeric_limits<double>::quiet_NaN();
    if (d <= 0.0)
        return 1.0;
    if (d >= 1.0)
        return 0.0;
    const auto last = static_cast<int32_t>(std::floor(n * (1.0 - d)));
    double log_choose = 0.0; // log C(n, j)
    double sum = 0.0;
    for (int32_t j = 0; j <= last; ++j) {
        const double step = static_cast<double>(j) / n;
        const double below = 1.0 - d - step;
        if (below > 0.0)
            sum += std::exp(log_choose + (n - j) * std::log(below) + (j - 1) * std::log(d + step));
        log_choose += std::log(static_cast<double>(n - j) / (j + 1));
    }
    return std::min(1.0, d * sum);
}

double KsExactPValue(int32_t n, double d) {
    if (n < 1 || std::isnan(d))
        return std::numeric_limits<double>::quiet_NaN();
    if (n * d * d >= SmirnovFrom)
        return std::min(1.0, 2.0 * SmirnovUpperTail(n, d));
    return 1.0 - KolmogorovCdf(n, d);
}

} // namespace zentrope
