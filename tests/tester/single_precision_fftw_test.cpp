// The single-precision FFTW path of the spectral counts against FFTW's double-precision
// transform at thresholds closer to actual moduli than single precision can resolve, and its
// refusal when too many moduli lie next to the threshold (Gauss sums).
#include "tester/real_transform.h"
#include "tests/tester/random_sources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

namespace zentrope {
namespace {

TEST(SinglePrecisionFftw, SettlesModuliNextToTheThreshold) {
    struct Shape {
        uint64_t rows, columns;
    };
    Xoshiro256 g = SeedXoshiro(91);
    for (const Shape shape : {Shape{1, 40000}, Shape{4, 31250}, Shape{3, 12288}})
        for (int kind = 0; kind < 3; ++kind) {
            const uint64_t n = shape.rows * shape.columns;
            const BitSequence s = kind == 0   ? GeneratorBits(g, n)
                                  : kind == 1 ? BiasedBits(g, n, 0.52)
                                              : PeriodicBits(5, 1001, n);
            // Every coefficient of the stored half but the first of each row.
            const uint64_t half = shape.columns / 2 + 1;
            std::vector<CoefficientRun> runs;
            std::vector<double> moduli;
            const std::span<const std::complex<double>> out =
                TransformBits(s, static_cast<int>(shape.rows), shape.columns);
            for (uint64_t k1 = 0; k1 < shape.rows; ++k1) {
                runs.push_back({k1 * half + 1, half - 1});
                for (uint64_t k2 = 1; k2 < half; ++k2)
                    moduli.push_back(std::norm(out[k1 * half + k2]));
            }
            std::sort(moduli.begin(), moduli.end());
            for (size_t i = moduli.size() / 10; i < moduli.size(); i += moduli.size() / 4)
                for (const double side : {1 - 1e-9, 1 + 1e-9}) {
                    const double threshold = moduli[i] * side;
                    const auto below = static_cast<uint64_t>(
                        std::lower_bound(moduli.begin(), moduli.end(), threshold) - moduli.begin());
                    EXPECT_EQ(
                        SinglePrecisionFftwBelow(s, shape.rows, shape.columns, threshold, runs),
                        std::optional<uint64_t>(below))
                        << shape.rows << " x " << shape.columns << ", kind " << kind;
                }
        }
}

// The Legendre symbol modulo p = 12289 (x(0) = +1): X(k) = 1 + (k / p) sqrt(p) for k > 0
// (Gauss), half the moduli equal to (1 + sqrt p)^2. Next to it the single-precision count
// gives way, and the double-precision one counts X(0) and the (p - 1) / 4 non-residues
// below p / 2.
TEST(SinglePrecisionFftw, GivesWayWhenManyModuliShareTheThreshold) {
    constexpr uint64_t P = 12289;
    const BitSequence s = LegendreBits(P);
    const double threshold = std::pow(1 + std::sqrt(static_cast<double>(P)), 2) * (1 - 1e-9);
    const CoefficientRun counted{0, P / 2};
    EXPECT_EQ(SinglePrecisionFftwBelow(s, 1, P, threshold, {&counted, 1}), std::nullopt);
    EXPECT_EQ(DoublePrecisionBelow(s, 1, P, threshold, {&counted, 1}), 1 + (P - 1) / 4);
}

} // namespace
} // namespace zentrope
