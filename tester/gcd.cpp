#include "tester/marsaglia_tests.h"
#include "tester/pooled_chi_square.h"
#include "tester/randomness_tests.h"

#include <cmath>
#include <numbers>
#include <numeric>

namespace zentrope {

double GcdProbability(uint64_t j) {
    const double jd = static_cast<double>(j);
    return 6 / (std::numbers::pi * std::numbers::pi * jd * jd);
}

std::vector<uint64_t> GcdCounts(const BitSequence& s, uint64_t pairs, size_t classes) {
    std::vector<uint64_t> counts(classes, 0);
    for (uint64_t i = 0; i < pairs; ++i) {
        const uint32_t u = Word32At(s, 2 * i);
        const uint32_t v = Word32At(s, 2 * i + 1);
        if (u == 0 || v == 0) // outside the uniform range 1 .. 2^32 - 1
            continue;
        const uint64_t g = std::gcd(u, v);
        ++counts[std::min<uint64_t>(g, classes) - 1];
    }
    return counts;
}

double GcdTest(const BitSequence& s) {
    const uint64_t pairs = s.size / 64;
    if (pairs < GcdMinPairs)
        return NoResult;
    // Values up to where 5 pairs are expected; the pooling joins the ones that fall short.
    const auto top =
        static_cast<size_t>(std::sqrt(static_cast<double>(pairs) * GcdProbability(1) / 5));
    std::vector<double> probability;
    for (size_t j = 1; j <= top; ++j)
        probability.push_back(GcdProbability(j));
    // One more class than probabilities: the rest takes what the others leave.
    return PooledChiSquarePValue(GcdCounts(s, pairs, probability.size() + 1), probability);
}

} // namespace zentrope
