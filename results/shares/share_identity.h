// Which share of which run a result file holds. A tester that tests only a range of a run's
// sequences names the run and the range in two report lines, so that shares can be checked
// and merged into the file one run would have written:
//   Share of a run: first F, count C, NT N, parameter file SHA-256 <64 hex digits>
//   Share summary settings: pval_digits D, TestName_pv T, sortKS K, sortAD A, sortSL S,
//     KSmin x, ADmin y, SLmax z
// (the second on one line). The settings are those the closing summary depends on, so a
// merge writes the summary of the whole run as the tester would have.
#pragma once

#include "model/parameter_set.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentrope {

struct ShareIdentity {
    int32_t first = 0; // 0-based index of the share's first sequence in the run
    int32_t count = 0;
    int32_t nt = 0; // the whole run's sequences
    std::string parameterSha256;
    // Only the summary's fields are carried: pval_digits, TestName_pv, sortKS, sortAD,
    // sortSL, KSmin, ADmin, SLmax.
    ParameterSet summary;
};

std::vector<std::string> FormatShareLines(const ShareIdentity& share);

// True for either of the two lines (a share's header line a single run does not write).
bool IsShareLine(std::string_view line);

// The identity from a file's report lines; none when they hold no complete, well-formed pair.
std::optional<ShareIdentity> ParseShareLines(const std::vector<std::string>& reportLines);

} // namespace zentrope
