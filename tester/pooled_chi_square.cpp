#include "tester/pooled_chi_square.h"
#include "tester/distributions.h"
#include "tester/randomness_tests.h"

#include <cmath>

namespace zentrope {

uint64_t SegmentCountWithin(uint64_t budget, const SegmentMoments& m) {
    if (m.mean <= 0)
        return 0;
    // count * mean + 8 sd sqrt(count) = budget, solved for sqrt(count).
    const double b = static_cast<double>(budget);
    const double root = (-8 * m.sd + std::sqrt(64 * m.sd * m.sd + 4 * m.mean * b)) / (2 * m.mean);
    return root > 0 ? static_cast<uint64_t>(root * root) : 0;
}

uint64_t BlocksForSegments(uint64_t count, const SegmentMoments& m) {
    const double c = static_cast<double>(count);
    return static_cast<uint64_t>(std::ceil(c * m.mean + 8 * m.sd * std::sqrt(c))) + 1;
}

double RunOutPValue(uint64_t budget, uint64_t found, const SegmentMoments& m) {
    const double segments = static_cast<double>(found + 1);
    const double z =
        (static_cast<double>(budget) - segments * m.mean) / (m.sd * std::sqrt(segments));
    return NormalCdf(-z);
}

double PooledChiSquarePValue(const std::vector<uint64_t>& observed,
                             const std::vector<double>& probability, double fewestExpected) {
    double total = 0;
    for (uint64_t c : observed)
        total += static_cast<double>(c);
    double chi2 = 0;
    int classes = 0;
    double expected = 0;
    double got = 0;
    double rest = 1;
    for (size_t k = 0; k < observed.size(); ++k) {
        const bool last = k + 1 == observed.size();
        const double p = last ? rest : probability[k];
        expected += total * p;
        got += static_cast<double>(observed[k]);
        rest -= p;
        if ((expected >= fewestExpected && total * rest >= fewestExpected) || last) {
            chi2 += (got - expected) * (got - expected) / expected;
            ++classes;
            expected = 0;
            got = 0;
        }
    }
    if (classes < 2)
        return NoResult;
    return Igamc((classes - 1) / 2.0, chi2 / 2);
}

} // namespace zentrope
