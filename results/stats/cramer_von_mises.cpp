#include "results/stats/cramer_von_mises.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace zentrope {
namespace {

// e^-u K_1/4(u) = integral over t >= 0 of exp(-u (1 + cosh t)) cosh(t/4): the integrand
// falls off doubly exponentially, so the trapezoid rule converges at once.
double ScaledBesselK14(double u) {
    constexpr double step = 0.05;
    double sum = 0.5 * std::exp(-2.0 * u);
    for (double t = step;; t += step) {
        const double term = std::exp(-u * (1.0 + std::cosh(t))) * std::cosh(t / 4.0);
        sum += term;
        if (term <= 1e-18 * sum)
            break;
    }
    return sum * step;
}

} // namespace

double CramerVonMisesTail(double x) {
    if (std::isnan(x))
        return std::numeric_limits<double>::quiet_NaN();
    if (x <= 0)
        return 1.0;
    // The tail falls as exp(-pi^2 x / 2): beyond 40 it is below 1e-80, while the series would
    // need ever more terms.
    if (x > 40)
        return 0.0;
    double cdf = 0;
    double coefficient = 1.0; // Gamma(j+1/2) / (Gamma(1/2) j!)
    for (int32_t j = 0;; ++j) {
        const double r = 4.0 * j + 1.0;
        const double u = r * r / (16.0 * x);
        if (u > 700)
            break;
        cdf += coefficient * std::sqrt(r) * ScaledBesselK14(u);
        coefficient *= (j + 0.5) / (j + 1.0);
    }
    cdf /= std::numbers::pi * std::sqrt(x);
    return cdf >= 1.0 ? 0.0 : 1.0 - cdf;
}

double SlTail(int32_t n, double sl) {
    if (n < 2)
        return std::numeric_limits<double>::quiet_NaN();
    // D = sl/100 L with L = n (2n-1) / (6 (n-1)); scaled by (n-1)/n to W^2's mean.
    return CramerVonMisesTail(sl / 100.0 * (2.0 * n - 1.0) / 6.0);
}

} // namespace zentrope
