// Everything the detail view shows of one table row: its usable p-values against the uniform
// distribution (KS distance and where it occurs, its exact p-value, A^2, the ten-bin
// uniformity test, the share passing at alpha, the smallest value) and what was left out.
// Also the Benjamini-Yekutieli q-values of every row's KS and AD figures, which need the run.
#pragma once

#include "results/stats/goodness_of_fit.h"
#include "results/stats/pvalue_sample.h"
#include "results/grid/result_set.h"
#include "results/stats/uniformity.h"

#include <cstdint>
#include <vector>

namespace zentrope {

struct RowDetail {
    // The cells that are numbers within [0, 1], ascending.
    std::vector<double> sorted;
    int32_t errors = 0;       // "- error -": the tester wrote -1
    int32_t empty = 0;        // no line for this test in the sequence's section
    int32_t out_of_range = 0; // a value that is no p-value: outside [0, 1], infinite, NaN
    // Over `sorted`; `ks.at` indexes it. The distance lies at x = sorted[at], between the
    // diagonal and the distribution's value there (d_edf).
    KsDistance ks;
    double d_edf = 0;
    double ks_exact_p = 0; // NaN without values, as are the next two
    double ad_statistic = 0;
    double dkw_half_width = 0;
    UniformityTest uniformity;
    PassProportion proportion;
    SmallestPValue smallest; // its index counts the row's sequences
    int32_t Count() const { return static_cast<int32_t>(sorted.size()); }
};

RowDetail DescribeRow(const ResultRow& row, double alpha);

// By result row; NaN for a row without figures.
struct RunQValues {
    std::vector<double> ks;
    std::vector<double> ad;
};

RunQValues QValuesOf(const ResultSet& results);

} // namespace zentrope
