#include "results/verdict/verdict_rows.h"

#include "model/c_text.h"
#include "results/grid/figure_text.h"
#include "results/stats/multiple_testing.h"
#include "results/stats/pvalue_sample.h"
#include "results/verdict/row_detail.h"

#include <algorithm>
#include <limits>

namespace zentrope {
std::vector<double> HolmKsOfRows(const ResultSet& results) {
    std::vector<double> ks(size_t(results.RowCount()), std::numeric_limits<double>::quiet_NaN());
    for (int32_t i = 0; i < results.RowCount(); ++i)
        if (const auto figures = results.Row(i).figures)
            ks[size_t(i)] = figures->ks;
    return HolmAdjusted(ks);
}

VerdictRows VerdictRowsOf(const ResultSet& results, const FlagThresholds& thresholds, double alpha,
                          const std::vector<NoResultReason>& reasons) {
    VerdictRows rows;
    const std::vector<double> adjusted = HolmKsOfRows(results);
    for (int32_t i = 0; i < results.RowCount(); ++i) {
        const ResultRow row = results.Row(i);
        if (!row.figures) {
            // A row holding values that are no p-values is named by the verdict as such.
            if (results.SequenceCount() < 2 || row.invalid > 0)
                continue;
            std::string reason = RowReasonText(reasons, row, i);
            rows.without.push_back(
                {i, row.name, row.count, reason.empty() ? std::string(NoReasonGiven) : reason});
            continue;
        }
        const RowFlags flags = FlagsOf(row, thresholds);
        const double holm = adjusted[size_t(i)];
        const bool rejected = IsPValue(holm) && holm <= alpha;
        if (!flags.Any() && !rejected)
            continue;
        rows.failing.push_back({i, row.name, *row.figures, DescribeRow(row, alpha).ks_exact_p,
                                flags, holm, rejected, RowReasonText(reasons, row, i)});
    }
    std::stable_sort(
        rows.failing.begin(), rows.failing.end(),
        [](const FailingRow& a, const FailingRow& b) { return a.figures.ks < b.figures.ks; });
    return rows;
}

std::vector<std::string> CrossedTexts(const RowFigures& figures, const RowFlags& flags,
                                      const FlagThresholds& thresholds) {
    std::vector<std::string> crossed;
    const auto add = [&](bool on, std::string_view what, double value, double limit) {
        if (on)
            crossed.push_back(std::string(what) + ": " + FigureText(value) + " (threshold " +
                              FormatG(limit) + ")");
    };
    add(flags.ks, "KS below KSmin", figures.ks, thresholds.ks_min);
    add(flags.ad, "AD below ADmin", figures.ad, thresholds.ad_min);
    add(flags.sl, "SL above SLmax", figures.sl, thresholds.sl_max);
    return crossed;
}

std::vector<std::string> CrossedTexts(const FailingRow& row, const FlagThresholds& thresholds,
                                      double alpha) {
    std::vector<std::string> crossed = CrossedTexts(row.figures, row.flags, thresholds);
    if (row.rejected)
        crossed.push_back("Holm-adjusted KS p " + FigureText(row.adjusted) + " <= alpha " +
                          FormatG(alpha));
    return crossed;
}

std::vector<std::string> CrossedNames(const FailingRow& row, const FlagThresholds& thresholds,
                                      double alpha) {
    std::vector<std::string> crossed;
    if (row.flags.ks)
        crossed.push_back("KS < KSmin " + FormatG(thresholds.ks_min));
    if (row.flags.ad)
        crossed.push_back("AD < ADmin " + FormatG(thresholds.ad_min));
    if (row.flags.sl)
        crossed.push_back("SL > SLmax " + FormatG(thresholds.sl_max));
    if (row.rejected)
        crossed.push_back("Holm at " + FormatG(alpha));
    return crossed;
}

std::string WithoutResultText(const RowWithoutResult& row) {
    return std::string(row.name) + " " + row.reason;
}

} // namespace zentrope
