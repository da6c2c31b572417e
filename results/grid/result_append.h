// A loaded table that grows while its run goes on: the sections a running tester has finished
// since the last look become sequence columns, the rows' figures follow, and the table ends as
// a load of the whole file would show it.
#pragma once

#include "results/grid/result_grid.h"
#include "results/grid/result_loader.h"

#include <string_view>
#include <vector>

namespace zentrope {

// Sections of p-value texts by data line, as ReadSectionPValues gives them.
using SectionPValues = std::vector<std::vector<std::string_view>>;

// The sections of `text` (which starts outside any section) in the table's line format: the
// chosen one, or the other when only that one fits `text`.
SectionPValues ReadNewSections(std::string_view text, ResultLineFormat chosen);

// Adds each section as the next sequence column, before the spacer, its texts copied into the
// grid; a section's lines below the table are left out, and rows below a shorter section
// stay empty and count as 0, as a load reads them. The results grow by the same sequences.
void AppendSequenceColumns(ResultGrid& grid, const SectionPValues& sections);

// Whether the table has two or more sequences but not yet the spacer and summary columns.
bool NeedsSummaryColumns(const ResultGrid& grid);
// Adds the spacer and the "KS", "AD" and "SL" columns after the last sequence column.
void AddSummaryColumns(ResultGrid& grid);

} // namespace zentrope
