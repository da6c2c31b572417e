// The steps of a result load, shared by the file and stream entry points.
#pragma once

#include "results/result_grid.h"
#include "results/result_loader.h"

#include <optional>
#include <string_view>
#include <vector>

namespace zentrope {

// The line format the file's data lines are in: the chosen one when any of its p-value
// fields is a number; the other one when none is but all of the other's are; none when the
// file holds no data line that fits either.
std::optional<ResultLineFormat> FittingLineFormat(std::string_view text, ResultLineFormat chosen);

// The p-values of one section, read as its lines are: by row from the first test, the number
// as atof reads it and its mark (Number or Error; Error holds -1).
struct PValueColumn {
    std::vector<double> values;
    std::vector<PValueMark> marks;
};

struct SectionsRead {
    int32_t last_sequence_column = 0;  // 2 when there is none
    std::vector<PValueColumn> pvalues; // one per sequence column, no longer than the table
};

// Fills the header, sequence and fixed cells from the file's text (already stored in the
// grid as `file`), and reads each p-value once on the way.
SectionsRead ReadResultSections(std::string_view text, CellText file, ResultLineFormat format,
                                ResultGrid& grid);

// The numbers of `rows` rows from their p-value columns: counts and, with two or more
// columns, the figures of the rows with three or more values; on all cores. A row that a
// column does not reach is Missing there.
ResultSet ReadResultNumbers(const std::vector<PValueColumn>& columns, int32_t rows);

// Counts, KS, AD and SL of every row once the sections are read, kept as numbers in the grid's
// results and written as texts; returns the sort the options ask for.
std::optional<int32_t> SummariseResultRows(const SectionsRead& sections,
                                           const ResultLoadOptions& options, ResultGrid& grid);

// "%.*f" with printf's meaning of a negative precision (6) and at most MaxFixedDigits.
std::string FormatDigits(double value, int32_t digits);

} // namespace zentrope
