#include "run_verdict.h"

#include "cramer_von_mises.h"
#include "multiple_testing.h"
#include "pvalue_sample.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace zentrope {
namespace {

int32_t UsableCount(std::span<const double> pvalues) {
    return static_cast<int32_t>(std::count_if(pvalues.begin(), pvalues.end(), IsPValue));
}

void CountFlags(std::span<const RunRow> rows, const FlagThresholds& thresholds,
                RunVerdict& verdict) {
    int32_t sl_n = -1; // rows mostly share their count: SlTail once per count
    double sl_tail = 0;
    for (const RunRow& row : rows) {
        const RowFlags flags = FlagsOf(row, thresholds);
        verdict.ks.flagged += flags.ks;
        verdict.ad.flagged += flags.ad;
        verdict.sl.flagged += flags.sl;
        if (!std::isnan(row.ks))
            verdict.ks.expected += std::max(thresholds.ks_min, 0.0);
        if (!std::isnan(row.ad))
            verdict.ad.expected += std::max(thresholds.ad_min, 0.0);
        if (!std::isnan(row.sl) && thresholds.SlEnabled()) {
            const int32_t n = UsableCount(row.pvalues);
            if (n != sl_n) {
                sl_n = n;
                sl_tail = n >= 2 ? SlTail(n, thresholds.sl_max) : 0.0;
            }
            verdict.sl.expected += sl_tail;
        }
    }
}

void ApplyHolm(std::span<const RunRow> rows, double alpha, RunVerdict& verdict) {
    std::vector<double> ks(rows.size());
    std::transform(rows.begin(), rows.end(), ks.begin(), [](const RunRow& r) { return r.ks; });
    // The smallest p-value also has the smallest adjusted one; taking it by the raw value
    // names the row that decided the verdict when adjusted values tie.
    for (size_t i = 0; i < ks.size(); ++i) {
        if (!IsPValue(ks[i]))
            continue;
        ++verdict.family;
        if (verdict.worst_row < 0 || ks[i] < ks[static_cast<size_t>(verdict.worst_row)])
            verdict.worst_row = static_cast<int32_t>(i);
    }
    verdict.worst_adjusted = std::numeric_limits<double>::quiet_NaN();
    if (verdict.worst_row >= 0) {
        const auto worst = static_cast<size_t>(verdict.worst_row);
        verdict.worst_name = rows[worst].name;
        verdict.worst_adjusted = HolmAdjusted(ks)[worst];
        verdict.fails = verdict.worst_adjusted <= alpha;
    }
}

} // namespace

RunVerdict JudgeRun(std::span<const RunRow> rows, const FlagThresholds& thresholds, double alpha) {
    RunVerdict verdict;
    verdict.rows = static_cast<int32_t>(rows.size());
    for (const RunRow& row : rows)
        verdict.sequences = std::max(verdict.sequences, static_cast<int32_t>(row.pvalues.size()));
    CountFlags(rows, thresholds, verdict);
    ApplyHolm(rows, alpha, verdict);
    return verdict;
}

} // namespace zentrope
