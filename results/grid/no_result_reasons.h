// Why a line of a result file has no p-value, as the tester says in its report, one line a
// reason, outside any section:
//   No result: line <row> "<test name>": <reason>
//   No result: line <row> "<test name>", sequence <k>: <reason>
// <row> counts the data lines of a section from 1, <k> the sequences from 1.
#pragma once

#include "results/grid/result_set.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zentrope {

inline constexpr std::string_view NoReasonGiven = "no reason given";

struct NoResultReason {
    int32_t row = 0;       // the result row, from 0
    std::string name;      // the test name the line gives
    int32_t sequence = -1; // from 0; -1 when the reason holds for every sequence
    std::string reason;
};

// Every well-formed reason line of the file, by row, in the file's order within a row; other
// lines are ignored.
std::vector<NoResultReason> ReadNoResultReasons(std::string_view text);

// The reasons that bear on one row of `results`, as one text: those for the whole row first,
// then each reason given for single sequences with how many ("in 3 sequences: ..."), all
// joined by "; ". A reason whose test name is not the row's is not the row's. Empty when the
// file gives none. `reasons` must be ordered by row, as ReadNoResultReasons gives them.
std::string RowReasonText(const std::vector<NoResultReason>& reasons, const ResultRow& row,
                          int32_t resultRow);

} // namespace zentrope
