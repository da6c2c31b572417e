// NIST SP 800-22's two checks of a set of p-values from many sequences: are the p-values
// uniform (a chi-square over ten bins), and do as many sequences pass as expected.
// Both read usable p-values only (see SamplePValues), in any order.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace zentrope {

struct UniformityTest {
    // Bin i holds [i/10, (i+1)/10); the last bin also holds 1.
    std::array<int32_t, 10> bins{};
    int32_t m = 0;
    double chi_square = 0; // against m/10 per bin; NaN for m = 0
    double p_value = 0;    // igamc(9/2, chi_square/2); NaN for m = 0
    // Below 55 values the chi-square approximation is not to be trusted.
    bool too_few = true;
};

UniformityTest PValueUniformity(std::span<const double> pvalues);

struct PassProportion {
    int32_t passed = 0; // values >= alpha
    int32_t m = 0;
    double proportion = 0; // NaN for m = 0, as are the bounds
    // (1 - alpha) -/+ 3 sqrt(alpha (1 - alpha) / m); the upper bound may exceed 1.
    double low = 0;
    double high = 0;
    bool Inside() const { return proportion >= low && proportion <= high; }
};

PassProportion ProportionPassing(std::span<const double> pvalues, double alpha);

} // namespace zentrope
