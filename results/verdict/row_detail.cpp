#include "results/verdict/row_detail.h"

#include "results/stats/exact_ks.h"
#include "results/stats/multiple_testing.h"

#include <cmath>
#include <limits>

namespace zentrope {
namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// The row with every cell that is no number as NaN, so that a missing cell's 0 is not read
// as a p-value.
std::vector<double> NumberCells(const ResultRow& row, RowDetail& detail) {
    std::vector<double> numbers(row.pvalues.size(), NaN);
    for (size_t i = 0; i < numbers.size(); ++i) {
        switch (row.marks[i]) {
        case PValueMark::Number:
            if (IsPValue(row.pvalues[i]))
                numbers[i] = row.pvalues[i];
            else
                ++detail.out_of_range; // infinite, NaN or no number are no p-values either
            break;
        case PValueMark::Error:
            ++detail.errors;
            break;
        case PValueMark::Missing:
            ++detail.empty;
            break;
        }
    }
    return numbers;
}

void DescribeDistance(RowDetail& detail) {
    const int32_t n = detail.Count();
    detail.ks = KsDistanceOf(detail.sorted.data(), n);
    const double x = detail.sorted[size_t(detail.ks.at)];
    const double below = double(detail.ks.at) / n;
    const double above = double(detail.ks.at + 1) / n;
    detail.d_edf = std::fabs(above - x) >= std::fabs(below - x) ? above : below;
    detail.ks_exact_p = KsExactPValue(n, detail.ks.d);
    detail.ad_statistic = AdStatistic(detail.sorted.data(), n);
}

} // namespace

RowDetail DescribeRow(const ResultRow& row, double alpha) {
    RowDetail detail;
    const std::vector<double> numbers = NumberCells(row, detail);
    PValueSample sample = SamplePValues(numbers);
    detail.sorted = std::move(sample.sorted);
    detail.smallest = SmallestOf(numbers);
    detail.uniformity = PValueUniformity(detail.sorted);
    detail.proportion = ProportionPassing(detail.sorted, alpha);
    detail.dkw_half_width = DkwHalfWidth(detail.Count(), alpha);
    if (detail.sorted.empty()) {
        detail.ks_exact_p = detail.ad_statistic = NaN;
        return detail;
    }
    DescribeDistance(detail);
    return detail;
}

RunQValues QValuesOf(const ResultSet& results) {
    std::vector<double> ks(size_t(results.RowCount()), NaN);
    std::vector<double> ad(ks);
    for (int32_t i = 0; i < results.RowCount(); ++i) {
        if (const auto figures = results.Row(i).figures) {
            ks[size_t(i)] = figures->ks;
            ad[size_t(i)] = figures->ad;
        }
    }
    return {BenjaminiYekutieliQValues(ks), BenjaminiYekutieliQValues(ad)};
}

} // namespace zentrope
