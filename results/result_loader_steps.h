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

struct SectionsRead {
    int32_t last_sequence_column = 0; // 2 when there is none
    ResultSet numbers;                // the p-values by row; no names, counts or figures yet
};

// Fills the header, sequence and fixed cells from the file's text (already stored in the
// grid as `file`) and reads every p-value once.
SectionsRead ReadResultSections(std::string_view text, CellText file, ResultLineFormat format,
                                ResultGrid& grid);

// The p-values of the sections' cells (row 0, the header's, left out; a cell `error` or
// "- error -" is an Error) into the set by row, a section a sequence; on all cores. Cells
// refer to `text`; a row that a section does not reach stays Missing.
void ReadPValues(const std::vector<std::vector<CellText>*>& sections, std::string_view text,
                 CellText error, ResultSet& set);

// Every row's count and, with two or more sequences, the figures of the rows with three or
// more values; on all cores.
void FigureRows(ResultSet& set);

// Counts, KS, AD and SL of every row once the sections are read, kept as numbers in the grid's
// results and written as texts; returns the sort the options ask for.
std::optional<int32_t> SummariseResultRows(SectionsRead&& sections,
                                           const ResultLoadOptions& options, ResultGrid& grid);

// "%.*f" with printf's meaning of a negative precision (6) and at most MaxFixedDigits.
std::string FormatDigits(double value, int32_t digits);

} // namespace zentrope
