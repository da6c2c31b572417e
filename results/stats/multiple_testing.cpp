#include "results/stats/multiple_testing.h"

#include "results/stats/pvalue_sample.h"

#include <algorithm>
#include <limits>

namespace zentrope {
namespace {

// Positions of the p-values, smallest value first.
std::vector<size_t> AscendingPValues(std::span<const double> pvalues) {
    std::vector<size_t> order;
    for (size_t i = 0; i < pvalues.size(); ++i)
        if (IsPValue(pvalues[i]))
            order.push_back(i);
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return pvalues[a] < pvalues[b]; });
    return order;
}

std::vector<double> NotInFamily(size_t size) {
    return std::vector<double>(size, std::numeric_limits<double>::quiet_NaN());
}

} // namespace

std::vector<double> HolmAdjusted(std::span<const double> pvalues) {
    std::vector<double> adjusted = NotInFamily(pvalues.size());
    const std::vector<size_t> order = AscendingPValues(pvalues);
    const double m = static_cast<double>(order.size());
    double running_max = 0.0;
    for (size_t rank = 0; rank < order.size(); ++rank) {
        const double scaled = (m - static_cast<double>(rank)) * pvalues[order[rank]];
        running_max = std::max(running_max, std::min(1.0, scaled));
        adjusted[order[rank]] = running_max;
    }
    return adjusted;
}

std::vector<double> BenjaminiYekutieliQValues(std::span<const double> pvalues) {
    std::vector<double> q = NotInFamily(pvalues.size());
    const std::vector<size_t> order = AscendingPValues(pvalues);
    double harmonic = 0.0;
    for (size_t i = order.size(); i >= 1; --i)
        harmonic += 1.0 / static_cast<double>(i);
    const double factor = static_cast<double>(order.size()) * harmonic;
    double running_min = 1.0;
    for (size_t rank = order.size(); rank-- > 0;) {
        const double scaled = factor * pvalues[order[rank]] / static_cast<double>(rank + 1);
        running_min = std::min(running_min, scaled);
        q[order[rank]] = running_min;
    }
    return q;
}

} // namespace zentrope
