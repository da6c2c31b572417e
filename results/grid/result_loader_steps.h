// The steps of a result load, shared by the file and stream entry points.
#pragma once

#include "results/grid/result_grid.h"
#include "results/grid/result_loader.h"

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
    ResultSet numbers;                // the p-values, counts and figures by row; no names yet
    bool line_cut = false;            // the text ends inside a data line, without its line feed
};

// Fills the header, sequence and fixed cells from the file's text (already stored in the
// grid as `file`) and reads the numbers of the rows; a watch sees the progress and can stop it.
SectionsRead ReadResultSections(std::string_view text, CellText file, ResultLineFormat format,
                                ResultGrid& grid, LoadWatch* watch = nullptr);

// The numbers of the set's rows from the sections' cells, a section a sequence: every p-value
// read once (row 0, the header's, left out; a cell `error` or "- error -" is an Error, and a
// row below a section Missing), each row's count and, with two or more sequences, the
// figures of the rows with three or more values; on all cores. Cells refer to `text`.
void ReadResultNumbers(const std::vector<std::vector<CellText>*>& sections, std::string_view text,
                       CellText error, ResultSet& set, LoadWatch* watch = nullptr);

// The counts, KS, AD and SL of every row once the sections are read written as texts, and the
// numbers kept as the grid's results; returns the sort the options ask for.
std::optional<int32_t> SummariseResultRows(SectionsRead&& sections,
                                           const ResultLoadOptions& options, ResultGrid& grid);

// The p-value texts of every section of `text`, which starts outside any section, by data line
// as the loader cuts them: ErrorCellText for a p-value of -1. Views into `text`.
std::vector<std::vector<std::string_view>> ReadSectionPValues(std::string_view text,
                                                              ResultLineFormat format);

// The "pvals" cells of every row from the grid's results and, once the table has summary
// columns (a spacer), the KS, AD and SL cells.
void WriteRowSummaries(ResultGrid& grid, int32_t digits);

// "%.*f" with printf's meaning of a negative precision (6) and at most MaxFixedDigits.
std::string FormatDigits(double value, int32_t digits);

} // namespace zentrope
