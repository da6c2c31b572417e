// The comparison of several runs as a table of texts, shown on screen and written as CSV: per
// matched row its name, how many runs hold it and flag it, the k-sample Anderson-Darling
// p-value between the runs, then each run's KS, AD and SL side by side.
#pragma once

#include "results/compare/run_comparison.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zentrope {

// A figure of a run that lacks the row.
inline constexpr std::string_view MissingRowText = "missing";
// The k-sample test where fewer than two runs hold values for the row.
inline constexpr std::string_view NoTestText = "n/a";

struct ComparisonTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows; // worst first, as CompareRuns orders them
    std::vector<bool> in_every_run;             // per row
    std::vector<int32_t> flagged;               // per row: runs flagging it
};

// Columns: "Test name", "Runs" ("2 of 3"), "Flagged", "k-sample AD p", then "KS", "AD" and
// "SL" of each run followed by its label. KS, AD and the k-sample p-value are printed with
// `pval_digits` decimals, SL with 3, as the result table prints them; "- error -" where a run
// has no figures for the row.
ComparisonTable MakeComparisonTable(std::span<const ComparedRun> runs,
                                    std::span<const ComparedRow> compared, int32_t pval_digits);

// The table as RFC 4180 text, header first.
std::string ComparisonCsv(const ComparisonTable& table);

} // namespace zentrope
