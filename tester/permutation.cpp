#include "tester/distributions.h"
#include "tester/randomness_tests.h"
#include "tester/uniform_chi_square.h"

#include <cmath>

namespace zentrope {

uint64_t Factorial(int t) {
    uint64_t f = 1;
    for (int i = 2; i <= t; ++i)
        f *= static_cast<uint64_t>(i);
    return f;
}

double DistinctGroupProbability(int blockBits, int groupSize) {
    const double d = std::ldexp(1.0, blockBits);
    double p = 1;
    for (int i = 0; i < groupSize; ++i)
        p *= std::max(0.0, (d - i) / d);
    return p;
}

int64_t OrderingIndex(const std::vector<uint64_t>& group) {
    // Lehmer code: for each value, how many later values are smaller, in factorial base.
    int64_t index = 0;
    const size_t t = group.size();
    for (size_t i = 0; i < t; ++i) {
        int64_t smaller = 0;
        for (size_t j = i + 1; j < t; ++j) {
            if (group[j] == group[i])
                return -1;
            smaller += group[j] < group[i] ? 1 : 0;
        }
        index = index * static_cast<int64_t>(t - i) + smaller;
    }
    return index;
}

double PermutationTest(const BitSequence& s, int blockBits, int groupSize) {
    if (blockBits < 1 || blockBits > 32 || groupSize < 2 || groupSize > MaxPermutationGroup)
        return NoResult;
    const uint64_t cells = Factorial(groupSize);
    const auto width = static_cast<uint64_t>(blockBits);
    const uint64_t groups = s.size / (width * static_cast<uint64_t>(groupSize));
    std::vector<uint64_t> counts(static_cast<size_t>(cells), 0);
    std::vector<uint64_t> group(static_cast<size_t>(groupSize));
    uint64_t distinct = 0;
    for (uint64_t g = 0; g < groups; ++g) {
        for (size_t i = 0; i < group.size(); ++i)
            group[i] = BitsAt(s, (g * group.size() + i) * width, blockBits);
        const int64_t index = OrderingIndex(group);
        if (index >= 0) {
            ++counts[static_cast<size_t>(index)];
            ++distinct;
        }
    }
    // A random sequence falls this far short of the expected number of groups without equal
    // values with a chance of about 1e-15; a sequence that does is rejected with the chance of
    // its shortfall.
    const double p = DistinctGroupProbability(blockBits, groupSize);
    const double expected = static_cast<double>(groups) * p;
    if (static_cast<double>(distinct) <
        expected - DistinctShortfallSds * std::sqrt(expected * (1 - p)))
        return BinomialAtMost(distinct, groups, p);
    if (distinct < cells)
        return NoResult;
    return Igamc((static_cast<double>(cells) - 1) / 2, UniformChiSquare(counts, distinct) / 2);
}

} // namespace zentrope
