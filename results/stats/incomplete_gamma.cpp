#include "results/stats/incomplete_gamma.h"

#include <cmath>
#include <limits>

namespace zentrope {
namespace {

constexpr double Epsilon = 1e-16;
constexpr int MaxTerms = 1000;

// log of x^a e^-x / Gamma(a), the factor both expansions share.
double LogPrefactor(double a, double x) {
    return a * std::log(x) - x - std::lgamma(a);
}

// P(a, x) by its power series; converges fast for x < a + 1.
double LowerSeries(double a, double x) {
    double term = 1.0 / a;
    double sum = term;
    for (int n = 1; n < MaxTerms && std::fabs(term) > std::fabs(sum) * Epsilon; ++n) {
        term *= x / (a + n);
        sum += term;
    }
    return sum * std::exp(LogPrefactor(a, x));
}

// Q(a, x) by its continued fraction (modified Lentz); converges fast for x >= a + 1.
double UpperFraction(double a, double x) {
    constexpr double Tiny = 1e-300;
    double b = x + 1.0 - a;
    double c = 1.0 / Tiny;
    double d = 1.0 / b;
    double f = d;
    for (int n = 1; n < MaxTerms; ++n) {
        const double an = -n * (n - a);
        b += 2.0;
        d = an * d + b;
        if (std::fabs(d) < Tiny)
            d = Tiny;
        c = b + an / c;
        if (std::fabs(c) < Tiny)
            c = Tiny;
        d = 1.0 / d;
        const double delta = d * c;
        f *= delta;
        if (std::fabs(delta - 1.0) < Epsilon)
            break;
    }
    return f * std::exp(LogPrefactor(a, x));
}

} // namespace

double UpperGammaQ(double a, double x) {
    if (!(a > 0.0) || !(x >= 0.0))
        return std::numeric_limits<double>::quiet_NaN();
    if (x == 0.0)
        return 1.0;
    if (std::isinf(x))
        return 0.0;
    return x < a + 1.0 ? 1.0 - LowerSeries(a, x) : UpperFraction(a, x);
}

} // namespace zentrope
