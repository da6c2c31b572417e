#include "tester/short_blocks_chi_square.h"

#include "tester/uniform_chi_square.h"

#include <array>
#include <bit>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zentrope {

namespace {

// Counts below 2^52 become doubles by their bits: 2^52 + c has c as its significand.
constexpr uint64_t Magic = uint64_t{0x433} << 52;

// The sum of (c - expected)^2 over the counts, in independent parts.
#if defined(__SSE2__)
double SumOfSquaredDifferences(const std::vector<uint64_t>& counts, double expected) {
    const __m128i magic = _mm_set1_epi64x(static_cast<int64_t>(Magic));
    const __m128d offset = _mm_set1_pd(-0x1p52);
    const __m128d mean = _mm_set1_pd(expected);
    const auto square = [&](size_t at) {
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(counts.data() + at));
        const __m128d d =
            _mm_sub_pd(_mm_add_pd(_mm_castsi128_pd(_mm_or_si128(c, magic)), offset), mean);
        return _mm_mul_pd(d, d);
    };
    // Four sums in turn, so that no addition waits on the one before.
    __m128d first = _mm_setzero_pd();
    __m128d second = first;
    __m128d third = first;
    __m128d fourth = first;
    size_t i = 0;
    for (; i + 8 <= counts.size(); i += 8) {
        first = _mm_add_pd(first, square(i));
        second = _mm_add_pd(second, square(i + 2));
        third = _mm_add_pd(third, square(i + 4));
        fourth = _mm_add_pd(fourth, square(i + 6));
    }
    std::array<double, 2> lanes{};
    _mm_storeu_pd(lanes.data(), _mm_add_pd(_mm_add_pd(first, second), _mm_add_pd(third, fourth)));
    double sum = lanes[0] + lanes[1];
    for (; i < counts.size(); ++i) {
        const double d = static_cast<double>(counts[i]) - expected;
        sum += d * d;
    }
    return sum;
}
#else
double SumOfSquaredDifferences(const std::vector<uint64_t>& counts, double expected) {
    double sum = 0;
    for (uint64_t c : counts) {
        const double d = static_cast<double>(c) - expected;
        sum += d * d;
    }
    return sum;
}
#endif

} // namespace

// With 2^s classes, count - expected is D / 2^s for the integer D = count * 2^s - total. When
// the sum of the D^2 stays below 2^53, every difference, square and partial sum of the
// floating-point sum is a multiple of 2^-2s below 2^(53 - 2s), held exactly: the sum is then
// exact in any order, and may be taken in independent parts. A sum found below half the bound
// is below it whatever its rounding; otherwise the sum is made one class after another.
double BlockChiSquare(const std::vector<uint64_t>& counts, uint64_t total) {
    constexpr int ExactBits = 53;
    const uint64_t cells = counts.size();
    const int shift = std::countr_zero(cells);
    if (!std::has_single_bit(cells) || shift >= ExactBits / 2 ||
        total >= (uint64_t{1} << (ExactBits - 1)))
        return UniformChiSquare(counts, total);
    const double expected = static_cast<double>(total) / static_cast<double>(cells);
    const double sum = SumOfSquaredDifferences(counts, expected);
    if (!(sum < std::ldexp(1.0, ExactBits - 1 - 2 * shift)))
        return UniformChiSquare(counts, total);
    return sum / expected;
}

} // namespace zentrope
