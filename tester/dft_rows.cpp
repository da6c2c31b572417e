#include "tester/dft_rows.h"
#include "tester/distributions.h"
#include "tester/randomness_tests.h"
#include "tester/real_transform.h"
#include "tester/test_plan.h"

#include <algorithm>
#include <cmath>

namespace zentrope {
namespace {

// Shortest length at which the p-values of random sequences are uniform (tests/tester).
constexpr uint64_t DftRowsMinBits = 65536;

} // namespace

uint64_t DftRowsBits(int rows) {
    return std::max<uint64_t>(DftRowsMinBits, 2 * static_cast<uint64_t>(rows));
}

uint64_t DftColumns(uint64_t length, int rows) {
    return LargestSmoothLength(length / static_cast<uint64_t>(rows));
}

DftRowsCount DftRowsPeaksBelowThreshold(const BitSequence& s, int rows, uint64_t columns) {
    const auto r = static_cast<uint64_t>(rows);
    const uint64_t n = r * columns;
    const uint64_t half = columns / 2 + 1;
    const std::span<const std::complex<double>> out = TransformBits(s, rows, columns);
    // |X|^2 / n is exponential with mean 1 on random bits: below ln 20 with probability 0.95.
    const double threshold = std::log(20.0) * static_cast<double>(n);
    // A coefficient (k1, k2) of the stored half (k2 <= columns / 2) has its conjugate partner
    // ((rows - k1) % rows, columns - k2) outside the stored half, except in the edge columns
    // 0 and (even columns) columns / 2, where the partner lies in the same column: there the
    // one of the smaller row counts, and the real-valued ones (their own partners) are left out.
    const bool evenColumns = columns % 2 == 0;
    const uint64_t interior = half - 1 - (evenColumns ? 1 : 0);
    DftRowsCount c;
    for (uint64_t k1 = 0; k1 < r; ++k1) {
        const std::span<const std::complex<double>> row = out.subspan(k1 * half, half);
        c.below += SquaredModuliBelow(row.subspan(1, interior), threshold);
        c.counted += interior;
        if (k1 < (r - k1) % r) {
            const uint64_t edges = evenColumns ? 2 : 1;
            c.counted += edges;
            c.below += (std::norm(row[0]) < threshold ? 1 : 0) +
                       (evenColumns && std::norm(row[half - 1]) < threshold ? 1 : 0);
        }
    }
    return c;
}

double DftRowsPValue(const DftRowsCount& c) {
    const auto m = static_cast<double>(c.counted);
    const double d = (static_cast<double>(c.below) - 0.95 * m) / std::sqrt(m * 0.95 * 0.05 / 1.9);
    return NormalTwoSided(d);
}

double DftRowsTest(const BitSequence& s, uint64_t length, int rows) {
    if (rows < 1 || length > s.size)
        return NoResult;
    const uint64_t columns = DftColumns(length, rows);
    if (columns < 2 || columns > INT32_MAX)
        return NoResult;
    return DftRowsPValue(DftRowsPeaksBelowThreshold(s, rows, columns));
}

} // namespace zentrope
