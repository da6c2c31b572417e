#include "tester/chirp_z.h"
#include "tester/distributions.h"
#include "tester/randomness_tests.h"
#include "tester/real_transform.h"
#include "tester/single_precision_counts.h"

#include <cmath>
#include <complex>
#include <optional>

namespace zentrope {

uint64_t DftPeaksBelowThreshold(const BitSequence& s, uint64_t length) {
    // Threshold below which 95% of the squared moduli of a random sequence lie; squared, the
    // comparison needs no square root.
    const double threshold = std::log(1 / 0.05) * static_cast<double>(length);
    if (SinglePrecisionFits(1, length))
        if (const std::optional<uint64_t> below = SinglePrecisionBelow(s, 1, length, threshold))
            return *below;
    if (!IsSmoothLength(length))
        return ChirpZSquaredModuliBelow(s, length, threshold);
    const CoefficientRun counted{0, length / 2};
    if (const std::optional<uint64_t> below =
            SinglePrecisionFftwBelow(s, 1, length, threshold, {&counted, 1}))
        return *below;
    return DoublePrecisionBelow(s, 1, length, threshold, {&counted, 1});
}

// The variance n * 0.95 * 0.05 / 4 of the first published version is too small; this is the
// corrected n * 0.95 * 0.05 / 3.8 (Pareschi, Rovatti and Setti), which matches the spread of
// the count on random sequences.
double DftPValue(uint64_t length, uint64_t below) {
    const auto n = static_cast<double>(length);
    const double expected = 0.95 * n / 2;
    const double d = (static_cast<double>(below) - expected) / std::sqrt(n * 0.95 * 0.05 / 3.8);
    return NormalTwoSided(d);
}

double DftTest(const BitSequence& s, uint64_t length) {
    if (length < 2 || length > s.size || length > uint64_t{1} << 31)
        return NoResult;
    return DftPValue(length, DftPeaksBelowThreshold(s, length));
}

} // namespace zentrope
