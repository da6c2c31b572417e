#include "run_row.h"

namespace zentrope {

RowFlags FlagsOf(const RunRow& row, const FlagThresholds& thresholds) {
    // NaN compares false, so a missing figure is never flagged.
    return {row.ks < thresholds.ks_min, row.ad < thresholds.ad_min,
            thresholds.SlEnabled() && row.sl > thresholds.sl_max};
}

} // namespace zentrope
