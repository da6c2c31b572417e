#include "results/verdict/row_flags.h"

namespace zentrope {

RowFlags FlagsOf(const ResultRow& row, const FlagThresholds& thresholds) {
    if (!row.figures)
        return {};
    const RowFigures& f = *row.figures;
    return {f.ks < thresholds.ks_min, f.ad < thresholds.ad_min,
            thresholds.SlEnabled() && f.sl > thresholds.sl_max};
}

} // namespace zentrope
