// Builders of small result files and readers of the grid for the loader and sort tests.
#pragma once

#include "results/grid/result_grid.h"
#include "results/grid/result_loader.h"

#include <sstream>
#include <string>
#include <vector>

namespace zentrope::testing {

// One section per entry; each holds the p-value texts of the tests, named in order. Lines past
// the named tests are named after their place, so a longer section adds a row of its own.
inline std::string ResultFile(const std::vector<std::string>& names,
                              const std::vector<std::vector<std::string>>& sections) {
    std::string text = "Zentrope report\n\n";
    for (size_t s = 0; s < sections.size(); ++s) {
        text += "Sequence #" + std::to_string(s + 1) + "\n";
        for (size_t t = 0; t < sections[s].size(); ++t)
            text += sections[s][t] + "\t" +
                    (t < names.size() ? names[t] : "Extra " + std::to_string(t)) + "\n";
        text += "\n";
    }
    return text;
}

inline ResultLoadOutcome LoadText(ResultGrid& grid, const std::string& text,
                                  const ResultLoadOptions& options = {}) {
    std::istringstream in(text);
    return LoadResultStream(in, options, grid);
}

inline std::vector<std::string> RowTexts(const ResultGrid& grid, int32_t row) {
    std::vector<std::string> texts;
    for (int32_t col = 0; col < grid.ColumnCount(); ++col)
        texts.emplace_back(grid.Cell(col, row));
    return texts;
}

inline std::vector<std::string> ColumnTexts(const ResultGrid& grid, int32_t col) {
    std::vector<std::string> texts;
    for (int32_t row = 0; row < grid.RowCount(); ++row)
        texts.emplace_back(grid.Cell(col, row));
    return texts;
}

} // namespace zentrope::testing
