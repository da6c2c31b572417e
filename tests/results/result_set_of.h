// Result sets written by hand for the tests of what reads them.
#pragma once

#include "results/grid/result_set.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

namespace zentrope {

struct RowOf {
    std::string_view name; // must outlive the set: a literal
    std::vector<double> pvalues;
    std::optional<RowFigures> figures = std::nullopt;
};

// -1 is an error and NaN a missing value (held as 0), as the loader marks them; short rows
// end in missing values. The count is of the values that are neither.
inline ResultSet ResultSetOf(const std::vector<RowOf>& rows) {
    size_t sequences = 0;
    for (const RowOf& row : rows)
        sequences = std::max(sequences, row.pvalues.size());
    ResultSet set(static_cast<int32_t>(rows.size()), static_cast<int32_t>(sequences));
    for (size_t r = 0; r < rows.size(); ++r) {
        const auto row = static_cast<int32_t>(r);
        set.SetName(row, rows[r].name);
        int32_t count = 0;
        for (size_t s = 0; s < rows[r].pvalues.size(); ++s) {
            const double p = rows[r].pvalues[s];
            const PValueMark mark = p == -1.0       ? PValueMark::Error
                                    : std::isnan(p) ? PValueMark::Missing
                                                    : PValueMark::Number;
            set.SetPValue(row, static_cast<int32_t>(s), std::isnan(p) ? 0.0 : p, mark);
            count += mark == PValueMark::Number;
        }
        set.SetFigures(row, count, rows[r].figures);
    }
    return set;
}

} // namespace zentrope
