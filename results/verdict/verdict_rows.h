// The rows behind a run's verdict, whole: every row that crosses a threshold or that Holm's
// correction rejects, with its figures and what it crosses, and every row left without a
// result, with the tester's reason.
#pragma once

#include "results/grid/no_result_reasons.h"
#include "results/grid/result_set.h"
#include "results/verdict/row_flags.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zentrope {

struct FailingRow {
    int32_t row = -1; // the result row, from 0
    std::string_view name;
    RowFigures figures;
    double exact_ks = 0; // the exact KS p of the row's usable values
    RowFlags flags;
    double adjusted = 0;   // Holm-adjusted KS p over the run's rows
    bool rejected = false; // adjusted <= alpha
    std::string reasons;   // why some of its cells hold no result; empty when none do
};

struct RowWithoutResult {
    int32_t row = -1;
    std::string_view name;
    int32_t values = 0;
    std::string reason; // NoReasonGiven when the file names none
};

struct VerdictRows {
    std::vector<FailingRow> failing;       // smallest KS p first, the first of equals first
    std::vector<RowWithoutResult> without; // rows without figures, in the file's order
};

// Rows without a result are those left out of the verdict: without figures although the run
// has two or more sequences, and not for holding values that are no p-values (the verdict
// names those rows itself).
VerdictRows VerdictRowsOf(const ResultSet& results, const FlagThresholds& thresholds, double alpha,
                          const std::vector<NoResultReason>& reasons);

// Holm-adjusted KS p-values by result row over every row with figures; NaN for the others.
std::vector<double> HolmKsOfRows(const ResultSet& results);

// What a row crosses, one text a threshold, figures in full: "KS below KSmin: 2.3e-54
// (threshold 0.0005)", and Holm's rejection when `holm`.
std::vector<std::string> CrossedTexts(const RowFigures& figures, const RowFlags& flags,
                                      const FlagThresholds& thresholds);
std::vector<std::string> CrossedTexts(const FailingRow& row, const FlagThresholds& thresholds,
                                      double alpha);

// The same without the figures, for a list that shows them beside it: "KS < KSmin 0.0005",
// "AD < ADmin ...", "SL > SLmax ...", "Holm at 0.01".
std::vector<std::string> CrossedNames(const FailingRow& row, const FlagThresholds& thresholds,
                                      double alpha);

// "<name> <reason>", as the verdict lists a row without a result.
std::string WithoutResultText(const RowWithoutResult& row);

} // namespace zentrope
