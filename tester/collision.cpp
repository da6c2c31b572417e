#include "tester/memoized.h"
#include "tester/popcount_clones.h"
#include "tester/randomness_tests.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <utility>

// No fused multiply-add in the exact distribution: GCC contracts C++ by default wherever the
// target has one (AVX-512 has), clang within an expression, and a fused result differs in its
// last bit from the separate product and sum.
#if defined(__clang__)
#pragma STDC FP_CONTRACT OFF
#define ZENTROPE_UNFUSED
#elif defined(__GNUC__)
#define ZENTROPE_UNFUSED [[gnu::optimize("fp-contract=off")]]
#else
#define ZENTROPE_UNFUSED
#endif

namespace zentrope {
double ExpectedCollisions(uint64_t balls, int urnBits) {
    const double m = std::ldexp(1.0, urnBits);
    const double n = static_cast<double>(balls);
    return n - m * -std::expm1(n * std::log1p(-1 / m));
}

namespace {

// A vector of Lanes doubles (GCC does not take a vector size that depends on a template
// parameter) and the lanes' numbers, as constants: a vector filled lane by lane from memory
// waited for the stores on every ball.
template <size_t Lanes> struct LaneDoubles;
template <> struct LaneDoubles<2> {
    using Type = double __attribute__((vector_size(2 * sizeof(double))));
    static constexpr Type Numbers = {0, 1};
};
template <> struct LaneDoubles<4> {
    using Type = double __attribute__((vector_size(4 * sizeof(double))));
    static constexpr Type Numbers = {0, 1, 2, 3};
};
template <> struct LaneDoubles<8> {
    using Type = double __attribute__((vector_size(8 * sizeof(double))));
    static constexpr Type Numbers = {0, 1, 2, 3, 4, 5, 6, 7};
};

// One ball more: with c collisions before it, `taken` - c urns are occupied and it adds a
// collision with probability (taken - c) / m. From `from` into `to`, counts lo + 1 to hi, a
// vector of counts at a time (the compiler does not vectorize the loop itself: its count
// steps as a double, and -O2 leaves loops of unknown length alone). Every count takes the
// same operations in the same order, vector or not, unfused, so that every build and every
// processor computes the same values. Returns the first count left to do.
template <size_t Lanes>
ZENTROPE_UNFUSED [[gnu::always_inline]] inline size_t
AddBallInLanes(const double* from, double* to, size_t lo, size_t hi, double taken, double perUrn) {
    using Doubles = typename LaneDoubles<Lanes>::Type;
    const auto add = [&](size_t c, Doubles counts) {
        Doubles here;
        Doubles below;
        std::memcpy(&here, from + c, sizeof here);
        std::memcpy(&below, from + c - 1, sizeof below);
        const Doubles occupied = taken - counts;
        const Doubles sum = here * (1 - occupied * perUrn) + below * (occupied + 1) * perUrn;
        std::memcpy(to + c, &sum, sizeof sum);
    };
    size_t c = lo + 1;
    if (hi - lo < Lanes)
        return c;
    // The counts as doubles that step by the lanes (exact): no conversion in the loop.
    Doubles counts = static_cast<double>(c) + LaneDoubles<Lanes>::Numbers;
    for (; c <= hi - (Lanes - 1); c += Lanes, counts += static_cast<double>(Lanes))
        add(c, counts);
    // The last counts in one more vector that overlaps the one before: `from` is unchanged,
    // so the counts done twice get the same values again.
    if (c <= hi) {
        c = hi - (Lanes - 1);
        add(c, static_cast<double>(c) + LaneDoubles<Lanes>::Numbers);
    }
    return hi + 1;
}

#if defined(__x86_64__) && defined(__GNUC__)
ZENTROPE_UNFUSED [[gnu::target("avx512f")]] size_t
AddBallAvx512(const double* from, double* to, size_t lo, size_t hi, double taken, double perUrn) {
    return AddBallInLanes<8>(from, to, lo, hi, taken, perUrn);
}

ZENTROPE_UNFUSED [[gnu::target("avx2")]] size_t
AddBallAvx2(const double* from, double* to, size_t lo, size_t hi, double taken, double perUrn) {
    return AddBallInLanes<4>(from, to, lo, hi, taken, perUrn);
}
#endif

ZENTROPE_UNFUSED void AddBall(const double* from, double* to, size_t lo, size_t hi, double taken,
                              double perUrn) {
#if defined(__x86_64__) && defined(__GNUC__)
    static const int lanes = __builtin_cpu_supports("avx512f") ? 8
                             : __builtin_cpu_supports("avx2")  ? 4
                                                               : 2;
    size_t c = lanes == 8   ? AddBallAvx512(from, to, lo, hi, taken, perUrn)
               : lanes == 4 ? AddBallAvx2(from, to, lo, hi, taken, perUrn)
                            : AddBallInLanes<2>(from, to, lo, hi, taken, perUrn);
#else
    size_t c = AddBallInLanes<2>(from, to, lo, hi, taken, perUrn);
#endif
    for (; c <= hi; ++c) {
        const auto cc = static_cast<double>(c);
        to[c] = from[c] * (1 - (taken - cc) * perUrn) + from[c - 1] * (taken - cc + 1) * perUrn;
    }
}

} // namespace

std::vector<double> CollisionDistribution(uint64_t balls, int urnBits) {
    const double perUrn = std::ldexp(1.0, -urnBits); // 1 / m, exact
    const double mean = ExpectedCollisions(balls, urnBits);
    // Far beyond the mean the probabilities are below any use.
    const auto top = static_cast<size_t>(
        std::min<double>(static_cast<double>(balls), mean + 12 * std::sqrt(mean) + 50));
    std::vector<double> p(top + 1, 0);
    std::vector<double> next(top + 1, 0);
    p[0] = 1;
    // Only the counts lo to hi carry probability above Negligible; the window follows the
    // distribution as it moves and spreads, so the work grows with its spread, not its mean.
    constexpr double Negligible = 1e-30;
    size_t lo = 0;
    size_t hi = 0;
    for (uint64_t i = 1; i <= balls; ++i) {
        const auto taken = static_cast<double>(i - 1);
        if (hi < top)
            p[++hi] = 0; // the other buffer may hold an older value there
        AddBall(p.data(), next.data(), lo, hi, taken, perUrn);
        next[lo] = p[lo] * (1 - (taken - static_cast<double>(lo)) * perUrn);
        std::swap(p, next);
        while (lo < hi && p[lo] < Negligible)
            p[lo++] = 0;
        while (hi > lo && p[hi] < Negligible)
            p[hi--] = 0;
    }
    std::fill(p.begin(), p.begin() + static_cast<std::ptrdiff_t>(lo), 0.0);
    p.resize(hi + 1);
    return p;
}

namespace {

// Up to 2^26 urns (8 MiB) a bit per urn: each ball sets its urn's bit, in the
// cache, where a sort of the balls moved them all several times (a third of the test's time).
// Larger urn counts sort the balls.
constexpr int MaxBitmapUrnBits = 26;

// Occupied urns: a bitmap is zeroed in about the time its bits are counted.
ZENTROPE_WITH_POPCOUNT uint64_t OccupiedUrns(const std::vector<uint64_t>& bits) {
    uint64_t ones = 0;
    for (const uint64_t word : bits)
        ones += static_cast<uint64_t>(std::popcount(word));
    return ones;
}

// Each ball only sets its urn's bit; the balls less the occupied urns are the collisions.
uint64_t CountInBitmap(const BitSequence& s, int urnBits, uint64_t balls) {
    std::vector<uint64_t> urns(size_t{1} << std::max(urnBits - 6, 0));
    const auto width = static_cast<uint64_t>(urnBits);
    const uint64_t* words = s.words.data();
    const auto throwBall = [&](uint64_t v) { urns[v >> 6] |= uint64_t{1} << (v & 63); };
    // Blocks that start before the last word read it and the next one without a branch: a
    // block crosses a word's end at random, a third of the time. The last few blocks are
    // read as usual.
    const uint64_t lastWordStart = 64 * (s.words.size() - 1);
    const uint64_t twoWordBalls = std::min(balls, (lastWordStart + width - 1) / width);
    uint64_t pos = 0;
    for (uint64_t i = 0; i < twoWordBalls; ++i, pos += width) {
        const uint64_t at = pos >> 6;
        const auto offset = static_cast<int>(pos & 63);
        // The second word shifted in two steps, so that an offset of 0 shifts it out whole.
        const uint64_t high = (words[at] << offset) | ((words[at + 1] >> 1) >> (63 - offset));
        throwBall(high >> (64 - urnBits));
    }
    for (uint64_t i = twoWordBalls; i < balls; ++i)
        throwBall(BitsAt(s, i * width, urnBits));
    return balls - OccupiedUrns(urns);
}

uint64_t CountBySorting(const BitSequence& s, int urnBits, uint64_t balls) {
    const auto width = static_cast<uint64_t>(urnBits);
    std::vector<uint32_t> values(static_cast<size_t>(balls));
    for (uint64_t i = 0; i < balls; ++i)
        values[i] = static_cast<uint32_t>(BitsAt(s, i * width, urnBits));
    std::sort(values.begin(), values.end());
    const auto distinct =
        static_cast<uint64_t>(std::unique(values.begin(), values.end()) - values.begin());
    return balls - distinct;
}

} // namespace

uint64_t CountCollisions(const BitSequence& s, int urnBits, uint64_t balls) {
    return urnBits <= MaxBitmapUrnBits ? CountInBitmap(s, urnBits, balls)
                                       : CountBySorting(s, urnBits, balls);
}

uint64_t CollisionWorkingBytes(int urnBits, uint64_t balls) {
    return urnBits <= MaxBitmapUrnBits ? std::max<uint64_t>(8, (uint64_t{1} << urnBits) / 8)
                                       : 4 * balls;
}

uint64_t CollisionBalls(uint64_t bits, int urnBits) {
    const uint64_t balls = std::min(bits / static_cast<uint64_t>(urnBits), uint64_t{1} << urnBits);
    // The fewest balls that expect MaxExpectedCollisions: with n^2 / 2m as a start, a few
    // steps up settle it.
    auto cap =
        static_cast<uint64_t>(std::sqrt(2 * MaxExpectedCollisions * std::ldexp(1.0, urnBits)));
    while (ExpectedCollisions(cap, urnBits) < MaxExpectedCollisions)
        cap += 1 + cap / 1000;
    return std::min(balls, cap);
}

double CollisionTest(const BitSequence& s, int urnBits) {
    if (urnBits < 1 || urnBits > 32)
        return NoResult;
    const uint64_t balls = CollisionBalls(s.size, urnBits);
    if (balls < 2)
        return NoResult;
    // Every sequence of a run has the same number of balls.
    const std::vector<double>& p =
        Memoized(std::pair{balls, urnBits}, [&] { return CollisionDistribution(balls, urnBits); });
    const auto c = static_cast<size_t>(CountCollisions(s, urnBits, balls));
    // Two-sided mid-p: the count is discrete, and half its own probability on either side
    // keeps the p-values close to uniform.
    double below = 0; // P(C < c)
    for (size_t k = 0; k < std::min(c, p.size()); ++k)
        below += p[k];
    const double mid = below + (c < p.size() ? p[c] / 2 : 0);
    return std::clamp(2 * std::min(mid, 1 - mid), 0.0, 1.0);
}

} // namespace zentrope
