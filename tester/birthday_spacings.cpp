#include "marsaglia_tests.h"
#include "randomness_tests.h"

#include <boost/math/special_functions/gamma.hpp>

#include <algorithm>
#include <cmath>

namespace zentrope {

uint64_t EqualSpacings(std::vector<uint32_t> birthdays) {
    std::sort(birthdays.begin(), birthdays.end());
    std::vector<uint32_t> spacings(birthdays.size());
    // The year is a circle: the last spacing wraps from the last birthday to the first
    // (modulo 2^32).
    for (size_t i = 0; i + 1 < birthdays.size(); ++i)
        spacings[i] = birthdays[i + 1] - birthdays[i];
    spacings.back() = birthdays.front() - birthdays.back();
    std::sort(spacings.begin(), spacings.end());
    const auto distinct = std::unique(spacings.begin(), spacings.end()) - spacings.begin();
    return spacings.size() - static_cast<uint64_t>(distinct);
}

double PoissonUpperMidP(double mean, uint64_t observed) {
    const auto r = static_cast<double>(observed);
    const double above = boost::math::gamma_p(r + 1, mean); // P(X > r)
    const double at = std::exp(r * std::log(mean) - mean - std::lgamma(r + 1));
    return std::clamp(above + at / 2, 0.0, 1.0);
}

double BirthdaySpacingsTest(const BitSequence& s) {
    const uint64_t samples = s.size / (32 * Birthdays);
    if (samples < BirthdayMinSamples)
        return NoResult;
    uint64_t equal = 0;
    std::vector<uint32_t> birthdays(Birthdays);
    for (uint64_t k = 0; k < samples; ++k) {
        for (uint64_t i = 0; i < Birthdays; ++i)
            birthdays[i] = Word32At(s, k * Birthdays + i);
        equal += EqualSpacings(birthdays);
    }
    const double perSample =
        std::pow(static_cast<double>(Birthdays), 3) / (4 * std::ldexp(1.0, 32));
    return PoissonUpperMidP(perSample * static_cast<double>(samples), equal);
}

} // namespace zentrope
