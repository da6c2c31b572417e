// The plain view of one result row that the run-level summaries read: its name, its p-values
// and its KS, AD and SL figures. It only points into the result set that holds the numbers.
#pragma once

#include <cstdint>
#include <limits>
#include <span>
#include <string_view>

namespace zentrope {

struct RunRow {
    std::string_view name;
    // As the row holds them; values outside [0, 1] (-1 for an error, NaN) are left out.
    std::span<const double> pvalues;
    // NaN where the row has no figure (fewer than two sequences).
    double ks = std::numeric_limits<double>::quiet_NaN();
    double ad = std::numeric_limits<double>::quiet_NaN();
    double sl = std::numeric_limits<double>::quiet_NaN();
};

// The tester's thresholds for bad rows; 0 (KS, AD) and 100 (SL) switch a check off.
struct FlagThresholds {
    double ks_min = 0.0005;
    double ad_min = 0;
    double sl_max = 100;
    bool SlEnabled() const { return sl_max < 100; }
};

// Which figures of a row cross their threshold; a figure that is missing crosses nothing.
struct RowFlags {
    bool ks = false;
    bool ad = false;
    bool sl = false;
    bool Any() const { return ks || ad || sl; }
};

RowFlags FlagsOf(const RunRow& row, const FlagThresholds& thresholds);

} // namespace zentrope
