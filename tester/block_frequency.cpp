#include "tester/distributions.h"
#include "tester/randomness_tests.h"

namespace zentrope {

double BlockFrequencyTest(const BitSequence& s, uint64_t m) {
    if (m == 0 || s.size < m)
        return NoResult;
    const uint64_t blocks = s.size / m;
    double chi2 = 0;
    for (uint64_t b = 0; b < blocks; ++b) {
        const double excess =
            2.0 * static_cast<double>(CountOnes(s, b * m, m)) - static_cast<double>(m);
        chi2 += excess * excess;
    }
    chi2 /= static_cast<double>(m); // = 4 m sum (pi_i - 1/2)^2
    return Igamc(static_cast<double>(blocks) / 2.0, chi2 / 2.0);
}

} // namespace zentrope
