#include "tester/dft_rows.h"
#include "tester/distributions.h"
#include "tester/randomness_tests.h"
#include "tester/real_transform.h"
#include "tester/single_precision_counts.h"
#include "tester/test_plan.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace zentrope {
namespace {

// Shortest length at which the p-values of random sequences are uniform (tests/tester).
constexpr uint64_t DftRowsMinBits = 65536;

// A coefficient (k1, k2) of the stored half (k2 <= columns / 2) has its conjugate partner
// ((rows - k1) % rows, columns - k2) outside the stored half, except in the edge columns 0 and
// (even columns) columns / 2, where the partner lies in the same column: there the one of the
// smaller row counts, and the real-valued ones (their own partners) are left out.
bool EvenColumns(uint64_t columns) {
    return columns % 2 == 0;
}

uint64_t InteriorColumns(uint64_t columns) {
    return columns / 2 - (EvenColumns(columns) ? 1 : 0);
}

bool CountsEdges(uint64_t k1, uint64_t rows) {
    return k1 < (rows - k1) % rows;
}

uint64_t CountedCoefficients(uint64_t rows, uint64_t columns) {
    uint64_t counted = 0;
    for (uint64_t k1 = 0; k1 < rows; ++k1)
        counted +=
            InteriorColumns(columns) + (CountsEdges(k1, rows) ? (EvenColumns(columns) ? 2 : 1) : 0);
    return counted;
}

// |X|^2 / n is exponential with mean 1 on random bits: below ln 20 with probability 0.95.
double Threshold(uint64_t rows, uint64_t columns) {
    return std::log(20.0) * static_cast<double>(rows * columns);
}

// The runs of counted coefficients of the stored half, row after row.
std::vector<CoefficientRun> CountedRuns(uint64_t rows, uint64_t columns) {
    const uint64_t half = columns / 2 + 1;
    std::vector<CoefficientRun> runs;
    for (uint64_t k1 = 0; k1 < rows; ++k1) {
        runs.push_back({k1 * half + 1, InteriorColumns(columns)});
        if (CountsEdges(k1, rows)) {
            runs.push_back({k1 * half, 1});
            if (EvenColumns(columns))
                runs.push_back({k1 * half + half - 1, 1});
        }
    }
    return runs;
}

// The count from the fastest transform that settles it.
uint64_t TransformedBelow(const BitSequence& s, uint64_t rows, uint64_t columns) {
    const double threshold = Threshold(rows, columns);
    std::optional<uint64_t> below;
    if (SinglePrecisionFits(rows, columns))
        below = SinglePrecisionBelow(s, rows, columns, threshold);
    const std::vector<CoefficientRun> runs = CountedRuns(rows, columns);
    if (!below)
        below = SinglePrecisionFftwBelow(s, rows, columns, threshold, runs);
    return below ? *below : DoublePrecisionBelow(s, rows, columns, threshold, runs);
}

} // namespace

uint64_t DftRowsBits(int rows) {
    return std::max<uint64_t>(DftRowsMinBits, 2 * static_cast<uint64_t>(rows));
}

uint64_t DftColumns(uint64_t length, int rows) {
    return LargestSmoothLength(length / static_cast<uint64_t>(rows));
}

DftRowsCount DftRowsPeaksBelowThreshold(const BitSequence& s, int rows, uint64_t columns) {
    const auto r = static_cast<uint64_t>(rows);
    DftRowsCount c;
    c.counted = CountedCoefficients(r, columns);
    c.below = TransformedBelow(s, r, columns);
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
