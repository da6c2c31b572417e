// Corrections for testing many rows at once. Each takes one p-value per row and returns
// one adjusted value per row, in the same order. Entries that are not p-values (-1, NaN,
// numbers outside [0, 1]) are not part of the family: they neither count towards its size
// nor get a value (NaN).
#pragma once

#include <span>
#include <vector>

namespace zentrope {

// Holm's step-down adjustment: reject where the adjusted value is <= alpha, and the chance
// of any false rejection stays <= alpha.
std::vector<double> HolmAdjusted(std::span<const double> pvalues);

// Benjamini and Yekutieli's q-values: the false discovery rate stays <= q under any
// dependence between the rows.
std::vector<double> BenjaminiYekutieliQValues(std::span<const double> pvalues);

} // namespace zentrope
