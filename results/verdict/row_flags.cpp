#include "results/verdict/row_flags.h"

namespace zentrope {

RowFlags FlagsOf(const ResultRow& row, const FlagThresholds& thresholds) {
    if (!row.figures)
        return {};
    const RowFigures& f = *row.figures;
    return {f.ks < thresholds.ksMin, f.ad < thresholds.adMin,
            thresholds.SlEnabled() && f.sl > thresholds.slMax};
}

} // namespace zentrope
