// Several runs side by side: rows matched by test name, each run's figures for a row, how
// many runs flag it, and whether the runs' p-values for it look alike (the k-sample
// Anderson-Darling test of Scholz and Stephens).
#pragma once

#include "results/stats/k_sample_ad.h"
#include "results/grid/result_set.h"
#include "results/verdict/row_flags.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace zentrope {

struct ComparedRun {
    std::string_view label;
    const ResultSet* results = nullptr; // outlives the comparison
};

struct ComparedRow {
    // Names match byte for byte; a name a run holds twice is matched occurrence by occurrence.
    std::string_view name;
    // Per run, in the order given: the row's index in that run, -1 where the run lacks it.
    std::vector<int32_t> row_in_run;
    int32_t present = 0; // runs that have the row
    int32_t flagged = 0; // runs where one of its figures crosses a threshold
    // Between the p-values the runs that have the row hold as numbers in [0, 1] (errors and
    // missing values left out); NaN figures (see KSampleAndersonDarling) with fewer than two.
    KSampleAd test;
    bool InEveryRun() const { return present == static_cast<int32_t>(row_in_run.size()); }
};

// Worst first: the smallest k-sample p-value (rows without one last), then the most runs
// flagging it, then the order in which the names first appear.
std::vector<ComparedRow> CompareRuns(std::span<const ComparedRun> runs,
                                     const FlagThresholds& thresholds);

// The row a run holds for a compared row (its figures side by side); nothing where it lacks it.
std::optional<ResultRow> RowOfRun(std::span<const ComparedRun> runs, const ComparedRow& row,
                                  size_t run);

} // namespace zentrope
