// The single-precision spectral path against independent computations: the lane transforms
// and the exact coefficient against the defining sums, and the threshold counts against
// FFTW's double-precision transform on good, biased and periodic bits.
#include "tester/exact_coefficient.h"
#include "tester/lane_dft.h"
#include "tester/real_transform.h"
#include "tester/single_precision_counts.h"
#include "tests/tester/random_sources.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

namespace zentrope {
namespace {

using Complex = std::complex<double>;

Complex Root(uint64_t m, uint64_t n) {
    return std::polar(1.0,
                      -2 * std::numbers::pi * static_cast<double>(m % n) / static_cast<double>(n));
}

double Sign(const BitSequence& s, uint64_t i) {
    return BitAt(s, i) ? 1.0 : -1.0;
}

TEST(LaneTransform, MatchesTheDefiningSum) {
    Xoshiro256 g = SeedXoshiro(41);
    for (int n : {2, 8, 32, 128, 512, 2048}) {
        const LanePlan plan = MakeLanePlan(n);
        const size_t size = static_cast<size_t>(n) * Lanes;
        std::vector<float> re(size), im(size), outRe(size), outIm(size);
        std::vector<Complex> x(size);
        for (size_t i = 0; i < size; ++i)
            x[i] = {static_cast<double>(NextWord(g) % 3) - 1, static_cast<double>(NextWord(g) % 2)};
        for (int q = 0; q < n; ++q)
            for (int l = 0; l < Lanes; ++l) {
                const size_t at = static_cast<size_t>(InputRow(plan, q) * Lanes + l);
                re[at] = static_cast<float>(x[static_cast<size_t>(q * Lanes + l)].real());
                im[at] = static_cast<float>(x[static_cast<size_t>(q * Lanes + l)].imag());
            }
        LaneDft(plan, {re.data(), im.data()}, {outRe.data(), outIm.data()});
        double worst = 0;
        for (int l : {0, 7, 15})
            for (int k = 0; k < n; ++k) {
                Complex sum = 0;
                for (int q = 0; q < n; ++q)
                    sum += x[static_cast<size_t>(q * Lanes + l)] *
                           Root(static_cast<uint64_t>(q) * static_cast<uint64_t>(k),
                                static_cast<uint64_t>(n));
                const size_t at = static_cast<size_t>(OutputRow(plan, k) * Lanes + l);
                worst = std::max(worst, std::abs(sum - Complex(outRe[at], outIm[at])));
            }
        // Single precision: errors of a few units in the last place of the largest terms.
        EXPECT_LT(worst, 1e-5 * n) << n;
    }
}

TEST(ExactCoefficient, MatchesTheDefiningSum) {
    Xoshiro256 g = SeedXoshiro(42);
    const BitSequence s = GeneratorBits(g, 5000);
    struct Shape {
        uint64_t rows, columns;
    };
    for (const Shape shape : {Shape{1, 1000}, Shape{4, 256}, Shape{3, 77}})
        for (const auto& [k1, k2] : {std::pair<uint64_t, uint64_t>{0, 0},
                                     {0, 5},
                                     {1, 17},
                                     {shape.rows - 1, shape.columns - 1}}) {
            Complex sum = 0;
            for (uint64_t a = 0; a < shape.rows; ++a)
                for (uint64_t b = 0; b < shape.columns; ++b)
                    sum += Sign(s, a * shape.columns + b) * Root(a * k1, shape.rows) *
                           Root(b * k2, shape.columns);
            EXPECT_NEAR(ExactSquaredModulus(s, shape.rows, shape.columns, k1, k2), std::norm(sum),
                        1e-9 * (std::norm(sum) + 1))
                << shape.rows << " x " << shape.columns << " (" << k1 << ", " << k2 << ")";
        }
}

// The counts as the double-precision transform gives them: k < columns / 2 for one row; for
// more, one of each conjugate pair with the real-valued coefficients left out.
uint64_t DoublePrecisionBelow(const BitSequence& s, uint64_t rows, uint64_t columns,
                              double threshold) {
    const std::span<const Complex> out = TransformBits(s, static_cast<int>(rows), columns);
    if (rows == 1)
        return SquaredModuliBelow(out.first(columns / 2), threshold);
    const uint64_t half = columns / 2 + 1;
    uint64_t below = 0;
    for (uint64_t k1 = 0; k1 < rows; ++k1)
        for (uint64_t k2 = 0; k2 < half; ++k2) {
            const bool edge = k2 == 0 || k2 == columns / 2;
            if (edge && !(k1 < (rows - k1) % rows))
                continue;
            below += std::norm(out[k1 * half + k2]) < threshold ? 1 : 0;
        }
    return below;
}

TEST(SinglePrecisionCounts, CountsEqualTheDoublePrecisionTransform) {
    struct Shape {
        uint64_t rows, columns;
    };
    const std::vector<Shape> shapes = {{1, 1 << 20}, {2, 1 << 19}, {32, 1 << 15},
                                       {1, 1 << 12}, {4, 1 << 12}, {8, 1 << 14},
                                       {16, 1024},   {128, 1024},  {256, 4096}};
    int lines = 0;
    for (uint64_t seed = 0; seed < 6; ++seed)
        for (const Shape& shape : shapes) {
            const uint64_t n = shape.rows * shape.columns;
            if (n > (uint64_t{1} << 18) && seed > 1)
                continue; // the long lines on two sequences of each kind only
            Xoshiro256 g = SeedXoshiro(100 + seed);
            const BitSequence s = seed % 3 == 0   ? GeneratorBits(g, n)
                                  : seed % 3 == 1 ? BiasedBits(g, n, 0.51)
                                                  : PeriodicBits(seed, 4099, n);
            const double threshold = std::log(20.0) * static_cast<double>(n);
            EXPECT_EQ(SinglePrecisionBelow(s, shape.rows, shape.columns, threshold),
                      DoublePrecisionBelow(s, shape.rows, shape.columns, threshold))
                << shape.rows << " x " << shape.columns << ", seed " << seed;
            ++lines;
        }
    EXPECT_GT(lines, 30);
}

// Thresholds a hair's breadth (1e-9) either side of actual moduli, far closer than single
// precision can tell apart: the counts still follow the exact moduli.
TEST(SinglePrecisionCounts, SettlesModuliNextToTheThreshold) {
    Xoshiro256 g = SeedXoshiro(43);
    for (const auto& [rows, columns] : {std::pair<uint64_t, uint64_t>{1, 1 << 14}, {4, 1 << 12}}) {
        const BitSequence s = GeneratorBits(g, rows * columns);
        std::vector<double> moduli; // of coefficients (0, 1 .. 39), all of them counted
        for (const Complex& x : TransformBits(s, static_cast<int>(rows), columns).first(40))
            moduli.push_back(std::norm(x));
        for (size_t k = 1; k < moduli.size(); k += 3)
            for (const double side : {1 - 1e-9, 1 + 1e-9}) {
                const double threshold = moduli[k] * side;
                EXPECT_EQ(SinglePrecisionBelow(s, rows, columns, threshold),
                          DoublePrecisionBelow(s, rows, columns, threshold))
                    << rows << " x " << columns << ", coefficient " << k;
            }
    }
}

} // namespace
} // namespace zentrope
