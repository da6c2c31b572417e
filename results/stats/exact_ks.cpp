#include "results/stats/exact_ks.h"

#include "results/stats/goodness_of_fit.h"

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

// Beyond this many values the matrix would take seconds; there the limiting distribution
// with Stephens' correction for n is within about 0.3% of the exact value.
constexpr int32_t MatrixUpTo = 20000;

// Powers of two past this move into a separate exponent, so that the power of a matrix
// whose entries grow like n^n / n! stays within doubles.
constexpr int ScaleBits = 460;

// A square matrix (row by row) or a row vector, worth values * 2^exponent.
struct Scaled {
    int32_t m = 0;
    std::vector<double> values;
    int64_t exponent = 0;
};

// Moves powers of two into the exponent once `probe` has grown past 2^ScaleBits.
void Rescale(Scaled& s, double probe) {
    if (probe > std::ldexp(1.0, ScaleBits)) {
        for (double& v : s.values)
            v = std::ldexp(v, -ScaleBits);
        s.exponent += ScaleBits;
    }
}

Scaled Square(const Scaled& a) {
    const int32_t m = a.m;
    Scaled c{m, std::vector<double>(static_cast<size_t>(m) * m, 0.0), 2 * a.exponent};
    for (int32_t i = 0; i < m; ++i) {
        double* row = &c.values[static_cast<size_t>(i) * m];
        for (int32_t l = 0; l < m; ++l) {
            const double a_il = a.values[static_cast<size_t>(i) * m + l];
            if (a_il == 0.0)
                continue;
            const double* a_row = &a.values[static_cast<size_t>(l) * m];
            for (int32_t j = 0; j < m; ++j)
                row[j] += a_il * a_row[j];
        }
    }
    Rescale(c, c.values[static_cast<size_t>(m / 2) * m + m / 2]);
    return c;
}

// The row vector v times the matrix a.
Scaled RowTimes(const Scaled& v, const Scaled& a) {
    const int32_t m = a.m;
    Scaled c{m, std::vector<double>(m, 0.0), v.exponent + a.exponent};
    for (int32_t l = 0; l < m; ++l) {
        const double* a_row = &a.values[static_cast<size_t>(l) * m];
        for (int32_t j = 0; j < m; ++j)
            c.values[j] += v.values[l] * a_row[j];
    }
    Rescale(c, *std::max_element(c.values.begin(), c.values.end()));
    return c;
}

// (h^n)[r][r] as a scaled number: h^n is the product of the powers h^(2^b) of the bits b
// of n, which a row vector collects in m^2 steps each, while only the squarings take m^3.
Scaled DiagonalOfPower(Scaled power, int32_t n, int32_t r) {
    Scaled row{power.m, std::vector<double>(power.m, 0.0), 0};
    row.values[r] = 1.0;
    for (int32_t bits = n;; power = Square(power)) {
        if (bits & 1)
            row = RowTimes(row, power);
        bits >>= 1;
        if (bits == 0)
            break;
    }
    return Scaled{1, {row.values[r]}, row.exponent};
}

// The matrix H of Marsaglia, Tsang and Wang for d = (k - h) / n, 0 < h <= 1, of size
// m = 2k - 1: H[i][j] = 1 / (i - j + 1)! for i - j + 1 >= 0 with corrections for h in the
// first column and the last row.
Scaled KolmogorovMatrix(int32_t k, double h) {
    const int32_t m = 2 * k - 1;
    Scaled matrix{m, std::vector<double>(static_cast<size_t>(m) * m, 0.0), 0};
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
    const Scaled diagonal = DiagonalOfPower(KolmogorovMatrix(k, k - n * d), n, k - 1);
    // P = n! / n^n * (H^n)[k-1][k-1], the factorial ratio taken step by step.
    double s = diagonal.values[0];
    int64_t exponent = diagonal.exponent;
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
    if (n > MatrixUpTo) {
        const double r = std::sqrt(static_cast<double>(n));
        return KolmogorovQ((r + 0.12 + 0.11 / r) * d);
    }
    return 1.0 - KolmogorovCdf(n, d);
}

} // namespace zentrope
