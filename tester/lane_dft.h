// Discrete Fourier transforms of sixteen sequences at once, in single precision. Sequence l is
// lane l of the rows of a block: row i holds element i of every sequence, so each butterfly
// works on whole rows and the compiler keeps a row in vector registers with no shuffling.
#pragma once

#include <complex>
#include <cstddef>
#include <cstdint>
#include <new>
#include <numbers>
#include <vector>

namespace zentrope {

inline constexpr int Lanes = 16;

// exp(-2 pi i m / n), the exponent reduced exactly first.
inline std::complex<double> UnitRoot(uint64_t m, uint64_t n) {
    const auto reduced = static_cast<double>(m % n);
    return std::polar(1.0, -2 * std::numbers::pi * reduced / static_cast<double>(n));
}

// Storage for rows, starting on a cache line: a row is one 64-byte vector, and rows that
// straddle two lines made every load and store a split one (a third of the counts' time).
template <typename T> struct CacheLineAllocator {
    using value_type = T;
    static constexpr std::align_val_t Line{64};

    CacheLineAllocator() = default;
    template <typename U> CacheLineAllocator(const CacheLineAllocator<U>&) {}
    T* allocate(size_t n) { return static_cast<T*>(::operator new(n * sizeof(T), Line)); }
    void deallocate(T* p, size_t) { ::operator delete(p, Line); }
    bool operator==(const CacheLineAllocator&) const = default;
};
using LaneFloats = std::vector<float, CacheLineAllocator<float>>;

// Real and imaginary parts of rows of Lanes values each, row after row.
struct LaneBlock {
    float* re;
    float* im;
};

// exp(-2 pi i j / n) for j < n.
struct Twiddles {
    std::vector<float> re, im;
};
Twiddles MakeTwiddles(uint64_t n);

// A transform of length n (a power of two). Blocks that outgrow the first-level cache are
// taken as n1 x n2, n2 transforms of length n1 and then n1 of length n2, each small enough to
// stay in it; their rows are kept in the order that lets both read runs (n1 = 1: one
// transform, rows in natural order).
struct LanePlan {
    int n = 0, n1 = 1, n2 = 0;
    int n1Bits = 0, n2Bits = 0; // n1 = 2^n1Bits, n2 = 2^n2Bits
    Twiddles w, w1, w2;
};
LanePlan MakeLanePlan(int n);

// Where input element q = q1 n2 + q2 is kept: row q2 n1 + q1.
inline int InputRow(const LanePlan& plan, int q) {
    return (q & (plan.n2 - 1)) * plan.n1 + (q >> plan.n2Bits);
}

// Where the coefficient of row `row` of the output belongs: row k1 n2 + k2 holds
// k1 + n1 k2.
inline int OutputFrequency(const LanePlan& plan, int row) {
    return (row >> plan.n2Bits) + plan.n1 * (row & (plan.n2 - 1));
}

// Where coefficient k = k1 + n1 k2 lands: row k1 n2 + k2.
inline int OutputRow(const LanePlan& plan, int k) {
    return (k & (plan.n1 - 1)) * plan.n2 + (k >> plan.n1Bits);
}

// The forward transform of the n rows of `in` (kept as InputRow says) into `out` (as
// OutputRow says); `in` is overwritten.
void LaneDft(const LanePlan& plan, LaneBlock in, LaneBlock out);

} // namespace zentrope
