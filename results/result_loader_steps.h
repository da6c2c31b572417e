// The steps of a result load, shared by the file and stream entry points.
#pragma once

#include "results/result_grid.h"
#include "results/result_loader.h"

#include <optional>
#include <string_view>

namespace zentrope {

// The line format the file's data lines are in: the chosen one when any of its p-value
// fields is a number; the other one when none is but all of the other's are; none when the
// file holds no data line that fits either.
std::optional<ResultLineFormat> FittingLineFormat(std::string_view text, ResultLineFormat chosen);

// Fills the header, sequence and fixed cells from the file's text (already stored in the
// grid as `file`); returns the index of the last sequence column (2 when there is none).
int32_t ReadResultSections(std::string_view text, CellText file, ResultLineFormat format,
                           ResultGrid& grid);

// The numbers of the grid's rows once the sections are read: every p-value cell of the
// `sequences` sequence columns read once, counts and, with two or more sequences, the figures
// of the rows with three or more values; on all cores.
ResultSet ReadResultNumbers(const ResultGrid& grid, int32_t sequences);

// Counts, KS, AD and SL of every row once the sections are read, kept as numbers in the grid's
// results and written as texts; returns the sort the options ask for.
std::optional<int32_t> SummariseResultRows(int32_t last_sequence_column,
                                           const ResultLoadOptions& options, ResultGrid& grid);

// "%.*f" with printf's meaning of a negative precision (6) and at most MaxFixedDigits.
std::string FormatDigits(double value, int32_t digits);

} // namespace zentrope
