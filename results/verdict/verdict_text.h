// The run's verdict in words, for the window's verdict line and for `--verdict` alike. The
// window wraps parts of the text (emphasis, links to rows, escaping); plain text takes them
// as they are.
#pragma once

#include "results/verdict/row_flags.h"
#include "results/verdict/run_verdict.h"
#include "results/verdict/verdict_rows.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace zentrope {

struct VerdictMarkup {
    using Wrap = std::function<std::string(std::string_view)>;
    Wrap text;   // any text that is not a name
    Wrap strong; // the counts and the verdict word
    Wrap worst;  // the worst row's name
    std::function<std::string(int32_t row, std::string_view name)> row; // another row's name
    Wrap more;                                                          // "and N more"
};

// Every part as it is.
VerdictMarkup PlainMarkup();

// "123 rows, 60 sequences. below KSmin 0.0005: 30 (0.1 expected by chance); ... Holm over 103
// rows at 0.01: FAILS, worst row ... Failing: ... 20 rows without a result: ..."; the failing
// rows and the rows without a result are cut after a few, with "and N more".
std::string VerdictLine(const RunVerdict& verdict, const VerdictRows& rows,
                        const FlagThresholds& thresholds, double alpha,
                        const VerdictMarkup& markup);

// 'row 17 "Name": KS 2.3e-54, AD ..., SL ..., exact KS p ...; crosses: ...; no result: ...'
std::string FailingRowText(const FailingRow& row, const FlagThresholds& thresholds, double alpha);

// The verdict line, then every failing row with its figures in full and what it crosses, then
// every row without a result with its reason; plain text, one row a line.
std::string VerdictReport(const RunVerdict& verdict, const VerdictRows& rows,
                          const FlagThresholds& thresholds, double alpha);

// The same as one JSON object. Figures are numbers, or the text "< 1e-300" below that.
std::string VerdictJson(const RunVerdict& verdict, const VerdictRows& rows,
                        const FlagThresholds& thresholds, double alpha);

} // namespace zentrope
