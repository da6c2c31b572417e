// The regularized upper incomplete gamma function, igamc in NIST's randomness tests.
#pragma once

namespace zentrope {

// Q(a, x) = Gamma(a, x) / Gamma(a) for a > 0, x >= 0; NaN outside that range. Relative
// accuracy near 1e-14, also deep in the upper tail.
double UpperGammaQ(double a, double x);

} // namespace zentrope
