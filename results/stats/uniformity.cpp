#include "results/stats/uniformity.h"

#include "results/stats/incomplete_gamma.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zentrope {
namespace {
constexpr int32_t ReliableFrom = 55;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
} // namespace

UniformityTest PValueUniformity(std::span<const double> pvalues) {
    UniformityTest test;
    for (const double p : pvalues) {
        // p * 10 is exact enough that a value read as "0.3" lands in bin 3.
        const auto bin = std::clamp(static_cast<int32_t>(p * 10.0), 0, 9);
        ++test.bins[bin];
    }
    test.m = static_cast<int32_t>(pvalues.size());
    test.too_few = test.m < ReliableFrom;
    if (test.m == 0) {
        test.chi_square = test.p_value = NaN;
        return test;
    }
    const double expected = test.m / 10.0;
    test.chi_square = 0;
    for (const int32_t count : test.bins)
        test.chi_square += (count - expected) * (count - expected) / expected;
    test.p_value = UpperGammaQ(4.5, test.chi_square / 2.0);
    return test;
}

PassProportion ProportionPassing(std::span<const double> pvalues, double alpha) {
    PassProportion pass;
    pass.m = static_cast<int32_t>(pvalues.size());
    pass.passed = static_cast<int32_t>(
        std::count_if(pvalues.begin(), pvalues.end(), [alpha](double p) { return p >= alpha; }));
    if (pass.m == 0) {
        pass.proportion = pass.low = pass.high = NaN;
        return pass;
    }
    pass.proportion = static_cast<double>(pass.passed) / pass.m;
    const double half_width = 3.0 * std::sqrt(alpha * (1.0 - alpha) / pass.m);
    pass.low = 1.0 - alpha - half_width;
    pass.high = 1.0 - alpha + half_width;
    return pass;
}

} // namespace zentrope
