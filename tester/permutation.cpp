#include "tester/distributions.h"
#include "tester/memoized.h"
#include "tester/randomness_tests.h"
#include "tester/uniform_chi_square.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

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

namespace {

// The counts of each ordering and, in cell `cells`, of groups with equal values, kept in four
// copies taken in turn: most groups of short blocks have equal values, and one counter raised
// at every step would wait on its own last store each time.
class SpreadCounts {
public:
    explicit SpreadCounts(uint64_t cells)
        : stride_(static_cast<size_t>(cells) + 1), spread_(4 * stride_, 0) {}

    void Add(uint64_t cell) {
        ++spread_[turn_ * stride_ + static_cast<size_t>(cell)];
        turn_ = (turn_ + 1) & 3;
    }

    std::vector<uint64_t> Sum() const {
        std::vector<uint64_t> sum(stride_, 0);
        for (size_t k = 0; k < spread_.size(); ++k)
            sum[k % stride_] += spread_[k];
        return sum;
    }

private:
    size_t stride_;
    std::vector<uint64_t> spread_;
    size_t turn_ = 0;
};

// The group's Lehmer code as OrderingIndex numbers it, or `tied` when two values are equal.
// Without branches on the values (below 2^32, so a difference's sign bit compares them):
// each comparison is a coin toss, which a branch predictor loses.
template <size_t T> uint64_t OrderingOrTied(const uint64_t* values, uint64_t tied) {
    uint64_t index = 0;
    uint64_t equal = 0;
#pragma GCC unroll 10
    for (size_t i = 0; i < T; ++i) {
        uint64_t smaller = 0;
#pragma GCC unroll 10
        for (size_t j = i + 1; j < T; ++j) {
            smaller += (values[j] - values[i]) >> 63;
            equal |= ((values[j] ^ values[i]) - 1) >> 63;
        }
        index = index * (T - i) + smaller;
    }
    return equal != 0 ? tied : index;
}

// Calls take(g) for the bits of each of the first `groups` groups of `groupBits` bits.
template <class Take>
void ForEachGroup(const BitSequence& s, uint64_t groupBits, uint64_t groups, Take take) {
    if (64 % groupBits != 0) {
        for (uint64_t g = 0; g < groups; ++g)
            take(BitsAt(s, g * groupBits, static_cast<int>(groupBits)));
        return;
    }
    // Groups that fill words exactly are fields of one word each.
    const uint64_t perWord = 64 / groupBits;
    const uint64_t mask = groupBits == 64 ? ~uint64_t{0} : (uint64_t{1} << groupBits) - 1;
    for (uint64_t g = 0; g < groups; g += perWord) {
        const uint64_t word = s.words[g / perWord];
        const uint64_t inWord = std::min(perWord, groups - g);
        for (uint64_t k = 0; k < inWord; ++k)
            take((word >> (64 - (k + 1) * groupBits)) & mask);
    }
}

// Counts the orderings of the first `groups` groups of T values of `width` bits.
template <size_t T>
void CountByComparing(const BitSequence& s, uint64_t width, uint64_t groups, uint64_t cells,
                      SpreadCounts& counts) {
    std::array<uint64_t, T> values{};
    if (width * T > 64) {
        for (uint64_t g = 0; g < groups; ++g) {
            for (uint64_t i = 0; i < T; ++i)
                values[i] = BitsAt(s, (g * T + i) * width, static_cast<int>(width));
            counts.Add(OrderingOrTied<T>(values.data(), cells));
        }
        return;
    }
    const uint64_t mask = (uint64_t{1} << width) - 1;
    ForEachGroup(s, width * T, groups, [&](uint64_t group) {
#pragma GCC unroll 10
        for (uint64_t i = 0; i < T; ++i)
            values[i] = (group >> ((T - 1 - i) * width)) & mask;
        counts.Add(OrderingOrTied<T>(values.data(), cells));
    });
}

using Counter = void (*)(const BitSequence&, uint64_t, uint64_t, uint64_t, SpreadCounts&);

Counter CounterFor(int groupSize) {
    static constexpr Counter ForSize[] = {nullptr,
                                          nullptr,
                                          CountByComparing<2>,
                                          CountByComparing<3>,
                                          CountByComparing<4>,
                                          CountByComparing<5>,
                                          CountByComparing<6>,
                                          CountByComparing<7>,
                                          CountByComparing<8>,
                                          CountByComparing<9>,
                                          CountByComparing<10>};
    static_assert(std::size(ForSize) == MaxPermutationGroup + 1);
    return ForSize[groupSize];
}

// Groups of at most this many bits (and at most 8! orderings) are looked up in a table of
// every group's ordering, made once per run.
constexpr int MaxTableGroupBits = 16;

// Entry g: the ordering of the group whose bits read g, or `cells` when its values repeat.
std::vector<uint16_t> OrderingTable(int blockBits, int groupSize) {
    const auto t = static_cast<size_t>(groupSize);
    const uint64_t cells = Factorial(groupSize);
    const uint64_t mask = (uint64_t{1} << blockBits) - 1;
    std::vector<uint16_t> table(size_t{1} << (blockBits * groupSize));
    std::vector<uint64_t> values(t);
    for (size_t g = 0; g < table.size(); ++g) {
        for (size_t i = 0; i < t; ++i)
            values[i] = (g >> ((t - 1 - i) * static_cast<size_t>(blockBits))) & mask;
        const int64_t index = OrderingIndex(values);
        table[g] = static_cast<uint16_t>(index < 0 ? cells : static_cast<uint64_t>(index));
    }
    return table;
}

} // namespace

std::vector<uint64_t> PermutationCounts(const BitSequence& s, int blockBits, int groupSize) {
    const uint64_t cells = Factorial(groupSize);
    const auto width = static_cast<uint64_t>(blockBits);
    const uint64_t groupBits = width * static_cast<uint64_t>(groupSize);
    const uint64_t groups = s.size / groupBits;
    SpreadCounts spread(cells);
    if (groupBits <= MaxTableGroupBits && groupSize <= 8) {
        const std::vector<uint16_t>& table = Memoized(
            std::pair{blockBits, groupSize}, [&] { return OrderingTable(blockBits, groupSize); });
        ForEachGroup(s, groupBits, groups, [&](uint64_t g) { spread.Add(table[g]); });
    } else {
        CounterFor(groupSize)(s, width, groups, cells, spread);
    }
    return spread.Sum();
}

double PermutationTest(const BitSequence& s, int blockBits, int groupSize) {
    if (blockBits < 1 || blockBits > 32 || groupSize < 2 || groupSize > MaxPermutationGroup)
        return NoResult;
    const uint64_t cells = Factorial(groupSize);
    const uint64_t groups = s.size / static_cast<uint64_t>(blockBits * groupSize);
    std::vector<uint64_t> counts = PermutationCounts(s, blockBits, groupSize);
    const uint64_t distinct = groups - counts.back();
    counts.pop_back();
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
