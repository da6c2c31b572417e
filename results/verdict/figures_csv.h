// The result table's numbers in full for later analysis, as RFC 4180 CSV: each row's p-values
// as the file gives them, its KS, AD and SL figures, the exact KS p and the Holm-adjusted KS p
// at 17 significant digits, whether it fails or has no result, what it crosses and why cells
// have no result.
#pragma once

#include "results/grid/no_result_reasons.h"
#include "results/grid/result_grid.h"
#include "results/verdict/row_flags.h"

#include <string>
#include <vector>

namespace zentrope {

// Rows in the order the grid shows them; sequences in the file's order. A "- error -" cell is
// written -1 and a cell the file has no line for is left empty; figures a row does not have
// are empty, and figures below 1e-300 read "< 1e-300".
std::string FiguresCsv(const ResultGrid& grid, const FlagThresholds& thresholds, double alpha,
                       const std::vector<NoResultReason>& reasons);

} // namespace zentrope
