#include "tester/distributions.h"

#include <boost/math/distributions/binomial.hpp>
#include <boost/math/special_functions/erf.hpp>
#include <boost/math/special_functions/gamma.hpp>

#include <cmath>

namespace zentrope {

double Igamc(double a, double x) {
    if (x <= 0)
        return 1.0;
    return boost::math::gamma_q(a, x);
}

double Erfc(double x) {
    return boost::math::erfc(x);
}

double NormalCdf(double x) {
    return 0.5 * Erfc(-x / std::sqrt(2.0));
}

double NormalTwoSided(double z) {
    return Erfc(std::fabs(z) / std::sqrt(2.0));
}

double BinomialAtMost(uint64_t k, uint64_t trials, double p) {
    if (k >= trials)
        return 1.0;
    const boost::math::binomial_distribution<double> binomial(static_cast<double>(trials), p);
    return boost::math::cdf(binomial, static_cast<double>(k));
}

} // namespace zentrope
