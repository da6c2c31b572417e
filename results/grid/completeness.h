// Whether a load holds every line the tester meant to write: a tester that was stopped, or is
// still writing, leaves its last section shorter than the first or its last line cut, and a
// file read while it grows holds an unknown part of its end.
#pragma once

#include "results/grid/result_set.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zentrope {

struct ShortSection {
    int32_t sequence = 0; // counted from 1, as the table's sequence columns are
    int32_t lines = 0;    // its data lines, fewer than the table's rows
};

struct Completeness {
    int32_t rows = 0;                         // the first section's data lines
    std::vector<ShortSection> short_sections; // in sequence order
    FileEnd end;
    bool Whole() const { return short_sections.empty() && !end.line_cut && !end.grew; }
};

// From the set's Missing marks, which only rows below a section's last line carry.
Completeness CompletenessOf(const ResultSet& set);

// The warning for an incomplete load, naming each short sequence (the first few) and how many
// lines it holds; empty for a whole one.
std::string IncompleteWarning(const Completeness& completeness);

} // namespace zentrope
