// The tester's thresholds for bad rows, and which of a row's figures cross them.
#pragma once

#include "results/grid/result_set.h"

namespace zentrope {

// 0 (KS, AD) and 100 (SL) switch a check off.
struct FlagThresholds {
    double ks_min = 0.0005;
    double ad_min = 0;
    double sl_max = 100;
    bool SlEnabled() const { return sl_max < 100; }
};

// A row without figures crosses nothing.
struct RowFlags {
    bool ks = false;
    bool ad = false;
    bool sl = false;
    bool Any() const { return ks || ad || sl; }
};

RowFlags FlagsOf(const ResultRow& row, const FlagThresholds& thresholds);

} // namespace zentrope
