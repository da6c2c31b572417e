// The verdict on a whole run: how many rows cross the tester's thresholds against how many
// would by chance, and whether the battery fails once the number of rows is allowed for.
#pragma once

#include "results/grid/result_set.h"
#include "results/verdict/row_flags.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zentrope {

struct ThresholdCount {
    int32_t flagged = 0;
    // Expected among the rows with figures if every row's p-values were uniform: rows x
    // threshold for KS and AD (their figures are p-values), the sum of each row's SlTail for
    // SL (SL is no p-value). 0 for a check that is switched off.
    double expected = 0;
};

// A row whose Holm-adjusted KS p-value is within alpha: one the battery fails on.
struct RejectedRow {
    int32_t row = -1;
    std::string_view name;
    double ks = 0;
    double adjusted = 0;
};

// A row holding values that are no p-values.
struct InvalidRow {
    int32_t row = -1;
    std::string_view name;
    bool operator==(const InvalidRow&) const = default;
};

struct RunVerdict {
    int32_t rows = 0;
    int32_t sequences = 0;
    ThresholdCount ks;
    ThresholdCount ad;
    ThresholdCount sl;
    // Holm's correction over the rows' KS p-values: the family is every row with a KS
    // figure, and the battery fails when the smallest adjusted value is <= alpha.
    int32_t family = 0;
    bool fails = false;
    int32_t worst_row = -1; // the row with the smallest KS p-value (the first of equals)
    std::string_view worst_name;
    double worst_adjusted = 0;         // NaN without a family
    std::vector<RejectedRow> rejected; // smallest KS p-value first, the first of equals first
    // Rows holding values that are not p-values, in file order: they have no figures and do
    // not pass, so the battery fails with any of them.
    std::vector<InvalidRow> invalid_rows;
    // Lines the tester meant to write are not in the file (see Completeness).
    bool incomplete = false;
};

RunVerdict JudgeRun(const ResultSet& results, const FlagThresholds& thresholds, double alpha);

// The level a run is judged at until the user picks another; records of runs are judged at
// it, so that their verdicts compare.
inline constexpr double DefaultAlpha = 0.01;

// A run's result in a word, as its record keeps it and the list of runs shows it.
enum class BriefOutcome : uint8_t {
    Passes,
    Fails,
    Incomplete, // the file was cut short: its rows decide nothing
    NoFigures,  // rows, but none with a KS figure (one sequence, or too few values)
    NoTable,    // no file, or nothing in it that reads as a result
};

struct BriefVerdict {
    BriefOutcome outcome = BriefOutcome::NoTable;
    int32_t failing_rows = 0; // for Fails: the rows Holm rejects and those with no p-values
    double alpha = 0;         // the level the run was judged at
};

// A file cut short is incomplete whatever its rows say; rows holding values that are no
// p-values count as failing beside those Holm rejects.
BriefVerdict BriefOf(const RunVerdict& verdict, double alpha);

// Reads a result file (either line format) and judges it at `alpha`; NoTable when it cannot
// be read, holds no result lines or does not fit in memory. Slow on a large file: call it
// off the window's thread.
BriefVerdict JudgeResultFile(const std::string& path, double alpha);

} // namespace zentrope
