#include "tester/marsaglia_tests.h"
#include "tester/randomness_tests.h"
#include "tester/xoshiro.h"

#include <boost/math/special_functions/gamma.hpp>

#include <algorithm>
#include <array>
#include <cmath>

namespace zentrope {
namespace {

// Least significant digit first, three digits of 11 bits: several times faster than a
// comparison sort on the thousands of values of a sample.
void RadixSort(std::vector<uint32_t>& values) {
    std::vector<uint32_t> other(values.size());
    for (int shift = 0; shift < 33; shift += 11) {
        std::array<uint32_t, 2049> start{};
        for (uint32_t v : values)
            ++start[((v >> shift) & 2047) + 1];
        for (size_t d = 1; d < start.size(); ++d)
            start[d] += start[d - 1];
        for (uint32_t v : values)
            other[start[(v >> shift) & 2047]++] = v;
        values.swap(other);
    }
}

} // namespace

uint64_t EqualSpacings(std::vector<uint32_t> birthdays) {
    RadixSort(birthdays);
    std::vector<uint32_t> spacings(birthdays.size());
    // The year is a circle: the last spacing wraps from the last birthday to the first
    // (modulo 2^32).
    for (size_t i = 0; i + 1 < birthdays.size(); ++i)
        spacings[i] = birthdays[i + 1] - birthdays[i];
    spacings.back() = birthdays.front() - birthdays.back();
    RadixSort(spacings);
    const auto distinct = std::unique(spacings.begin(), spacings.end()) - spacings.begin();
    return spacings.size() - static_cast<uint64_t>(distinct);
}

double ExpectedEqualSpacings() {
    const auto m = static_cast<double>(Birthdays);
    const double n = std::ldexp(1.0, 32);
    return m * (m - 1) * (m - 1) / (4 * n) -
           m * (m - 1) * (m - 1) * (m - 2) * (m - 2) / (18 * n * n);
}

double PoissonUpperP(double mean, uint64_t observed, double fraction) {
    const auto r = static_cast<double>(observed);
    const double above = boost::math::gamma_p(r + 1, mean); // P(X > r)
    const double at = std::exp(r * std::log(mean) - mean - std::lgamma(r + 1));
    return std::clamp(above + fraction * at, 0.0, 1.0);
}

double BitsFraction(const BitSequence& s, uint64_t words) {
    uint64_t h = 0;
    for (uint64_t i = 0; i < words; ++i) {
        uint64_t state = h ^ s.words[i];
        h = SplitMix64(state);
    }
    return static_cast<double>(h >> 11) * 0x1.0p-53;
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
    return PoissonUpperP(ExpectedEqualSpacings() * static_cast<double>(samples), equal,
                         BitsFraction(s, samples * Birthdays / 2));
}

} // namespace zentrope
