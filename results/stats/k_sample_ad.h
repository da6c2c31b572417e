// The k-sample Anderson-Darling test of Scholz and Stephens (1987, "K-sample
// Anderson-Darling tests", JASA 82): do k samples come from one common distribution?
// Ties are handled by the midrank form A2akN of the paper, so equal values (as p-values
// printed to a few decimals often are) need no breaking.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace zentrope {

struct KSampleAd {
    int32_t k = 0;      // samples with at least one value
    int32_t n = 0;      // all values of those samples
    double a2akn = 0;   // the statistic A2akN
    double sigma = 0;   // its standard deviation under the null hypothesis
    double t = 0;       // standardised: (A2akN - (k - 1)) / sigma
    double p_value = 0; // approximate, from the paper's table of t
};

// NaN values are left out, and samples left empty do not count. With fewer than two
// samples or fewer than four values in all, every figure but k and n is NaN.
KSampleAd KSampleAndersonDarling(std::span<const std::vector<double>> samples);

// Upper tail of the standardised statistic t for m = k - 1 (m >= 1): the paper's critical
// points t_m(alpha) = b0 + b1 / sqrt(m) + b2 / m for alpha = 0.25 ... 0.01, with
// log(alpha / (1 - alpha)) interpolated linearly between them and extrapolated beyond.
double KSampleAdPValue(double t, int32_t m);

} // namespace zentrope
