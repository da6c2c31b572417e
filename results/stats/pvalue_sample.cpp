#include "results/stats/pvalue_sample.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zentrope {

bool IsPValue(double value) {
    return value >= 0.0 && value <= 1.0;
}

PValueSample SamplePValues(std::span<const double> row) {
    PValueSample sample;
    sample.sorted.reserve(row.size());
    for (const double v : row) {
        if (IsPValue(v))
            sample.sorted.push_back(v);
        else if (v == -1.0 || std::isnan(v))
            ++sample.no_result;
        else
            ++sample.out_of_range;
    }
    std::sort(sample.sorted.begin(), sample.sorted.end());
    return sample;
}

SmallestPValue SmallestOf(std::span<const double> row) {
    SmallestPValue smallest;
    for (size_t i = 0; i < row.size(); ++i) {
        if (IsPValue(row[i]) && (smallest.index < 0 || row[i] < smallest.p)) {
            smallest.index = static_cast<int32_t>(i);
            smallest.p = row[i];
        }
    }
    if (smallest.index >= 0)
        smallest.minus_log10 = 0.0 - std::log10(smallest.p); // +0 for p = 1
    return smallest;
}

double DkwHalfWidth(int32_t n, double alpha) {
    if (n < 1 || !(alpha > 0.0 && alpha < 1.0))
        return std::numeric_limits<double>::quiet_NaN();
    return std::sqrt(std::log(2.0 / alpha) / (2.0 * n));
}

} // namespace zentrope
