#include "results/verdict/run_verdict.h"

#include "results/grid/completeness.h"
#include "results/stats/cramer_von_mises.h"
#include "results/stats/multiple_testing.h"
#include "results/stats/pvalue_sample.h"
#include "results/grid/result_loader.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace zentrope {
namespace {

void CountFlags(const ResultSet& results, const FlagThresholds& thresholds, RunVerdict& verdict) {
    int32_t sl_n = -1; // rows mostly share their count: SlTail once per count
    double sl_tail = 0;
    for (int32_t i = 0; i < results.RowCount(); ++i) {
        const ResultRow row = results.Row(i);
        if (!row.figures)
            continue;
        const RowFlags flags = FlagsOf(row, thresholds);
        verdict.ks.flagged += flags.ks;
        verdict.ad.flagged += flags.ad;
        verdict.sl.flagged += flags.sl;
        verdict.ks.expected += std::max(thresholds.ks_min, 0.0);
        verdict.ad.expected += std::max(thresholds.ad_min, 0.0);
        if (thresholds.SlEnabled()) {
            // SL is figured over the row's values that are not errors.
            if (row.count != sl_n) {
                sl_n = row.count;
                sl_tail = sl_n >= 2 ? SlTail(sl_n, thresholds.sl_max) : 0.0;
            }
            verdict.sl.expected += sl_tail;
        }
    }
}

void ApplyHolm(const ResultSet& results, double alpha, RunVerdict& verdict) {
    const auto nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<double> ks(static_cast<size_t>(results.RowCount()), nan);
    for (int32_t i = 0; i < results.RowCount(); ++i) {
        if (const auto figures = results.Row(i).figures)
            ks[static_cast<size_t>(i)] = figures->ks;
    }
    // The smallest p-value also has the smallest adjusted one; taking it by the raw value
    // names the row that decided the verdict when adjusted values tie.
    for (size_t i = 0; i < ks.size(); ++i) {
        if (!IsPValue(ks[i]))
            continue;
        ++verdict.family;
        if (verdict.worst_row < 0 || ks[i] < ks[static_cast<size_t>(verdict.worst_row)])
            verdict.worst_row = static_cast<int32_t>(i);
    }
    verdict.worst_adjusted = nan;
    if (verdict.worst_row < 0)
        return;
    const std::vector<double> adjusted = HolmAdjusted(ks);
    verdict.worst_name = results.Row(verdict.worst_row).name;
    verdict.worst_adjusted = adjusted[static_cast<size_t>(verdict.worst_row)];
    verdict.fails = verdict.worst_adjusted <= alpha;
    for (size_t i = 0; i < ks.size(); ++i) {
        if (IsPValue(ks[i]) && adjusted[i] <= alpha) {
            const auto row = static_cast<int32_t>(i);
            verdict.rejected.push_back({row, results.Row(row).name, ks[i], adjusted[i]});
        }
    }
    std::stable_sort(verdict.rejected.begin(), verdict.rejected.end(),
                     [](const RejectedRow& a, const RejectedRow& b) { return a.ks < b.ks; });
}

} // namespace

RunVerdict JudgeRun(const ResultSet& results, const FlagThresholds& thresholds, double alpha) {
    RunVerdict verdict;
    verdict.rows = results.RowCount();
    verdict.sequences = results.SequenceCount();
    CountFlags(results, thresholds, verdict);
    ApplyHolm(results, alpha, verdict);
    for (int32_t row = 0; row < results.RowCount(); ++row)
        if (results.Row(row).invalid > 0)
            verdict.invalid_rows.push_back({row, results.Row(row).name});
    verdict.fails = verdict.fails || !verdict.invalid_rows.empty();
    verdict.incomplete = !CompletenessOf(results).Whole();
    return verdict;
}

} // namespace zentrope

namespace zentrope {

BriefVerdict BriefOf(const RunVerdict& verdict, double alpha) {
    BriefVerdict brief;
    brief.alpha = alpha;
    if (verdict.rows == 0)
        brief.outcome = BriefOutcome::NoTable;
    else if (verdict.incomplete)
        brief.outcome = BriefOutcome::Incomplete;
    else if (verdict.fails)
        brief.outcome = BriefOutcome::Fails;
    else
        brief.outcome = verdict.family == 0 ? BriefOutcome::NoFigures : BriefOutcome::Passes;
    // A row with values that are no p-values has no KS figure, so it is never also rejected.
    brief.failing_rows =
        static_cast<int32_t>(verdict.rejected.size() + verdict.invalid_rows.size());
    return brief;
}

BriefVerdict JudgeResultFile(const std::string& path, double alpha) {
    ResultGrid grid;
    const ResultLoadOutcome outcome = LoadResultFile(path, ResultLoadOptions{}, grid, {});
    const RunVerdict verdict =
        outcome.loaded ? JudgeRun(grid.Results(), FlagThresholds{}, alpha) : RunVerdict{};
    return BriefOf(verdict, alpha);
}

} // namespace zentrope
