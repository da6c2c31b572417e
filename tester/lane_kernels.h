// The pieces of the sixteen-lane transforms, inlined into each function built for a vector
// width so that a row stays in registers: rows as vectors, and the Stockham transform of a
// block small enough for the first-level cache.
#pragma once

#include "tester/bit_sequence.h"
#include "tester/lane_clones.h"
#include "tester/lane_dft.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <utility>

namespace zentrope {

// Rows a block may have and still fit, with its scratch, in the first-level cache.
inline constexpr int SmallRows = 128;

// Every function taking or returning these vectors is inlined into the functions built for
// each vector width: across a call, widths would disagree on how the vectors are passed.
using Row = float __attribute__((vector_size(Lanes * sizeof(float))));

using Mask = int32_t __attribute__((vector_size(Lanes * sizeof(int32_t))));

[[gnu::always_inline]] inline Row Load(const float* p) {
    Row v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

[[gnu::always_inline]] inline void Store(float* p, Row v) {
    std::memcpy(p, &v, sizeof v);
}

struct Cx {
    Row re, im;
};

// Row `row` of b, rows `stride` floats apart (packed by default).
[[gnu::always_inline]] inline Cx At(LaneBlock b, int row, size_t stride = Lanes) {
    return {Load(b.re + static_cast<size_t>(row) * stride),
            Load(b.im + static_cast<size_t>(row) * stride)};
}

[[gnu::always_inline]] inline void Put(LaneBlock b, int row, Cx v) {
    Store(b.re + row * Lanes, v.re);
    Store(b.im + row * Lanes, v.im);
}

[[gnu::always_inline]] inline Cx Times(Cx v, float wr, float wi) {
    return {v.re * wr - v.im * wi, v.re * wi + v.im * wr};
}

// One radix-4 pass of the Stockham transform: length n, stride s (n * s rows in all). The
// rows of x lie xStride floats apart.
[[gnu::always_inline]] inline void Radix4(int n, int s, int step, const Twiddles& w, LaneBlock x,
                                          size_t xStride, LaneBlock y) {
    const int m = n / 4;
    for (int p = 0; p < m; ++p) {
        const size_t j = static_cast<size_t>(p) * step;
        const float w1r = w.re[j], w1i = w.im[j];
        const float w2r = w.re[2 * j], w2i = w.im[2 * j];
        const float w3r = w.re[3 * j], w3i = w.im[3 * j];
        for (int q = 0; q < s; ++q) {
            const Cx a = At(x, q + s * p, xStride), b = At(x, q + s * (p + m), xStride);
            const Cx c = At(x, q + s * (p + 2 * m), xStride);
            const Cx d = At(x, q + s * (p + 3 * m), xStride);
            const Cx apc{a.re + c.re, a.im + c.im}, amc{a.re - c.re, a.im - c.im};
            const Cx bpd{b.re + d.re, b.im + d.im};
            const Cx jbmd{d.im - b.im, b.re - d.re}; // i (b - d)
            Put(y, q + s * (4 * p), {apc.re + bpd.re, apc.im + bpd.im});
            Put(y, q + s * (4 * p + 1), Times({amc.re - jbmd.re, amc.im - jbmd.im}, w1r, w1i));
            Put(y, q + s * (4 * p + 2), Times({apc.re - bpd.re, apc.im - bpd.im}, w2r, w2i));
            Put(y, q + s * (4 * p + 3), Times({amc.re + jbmd.re, amc.im + jbmd.im}, w3r, w3i));
        }
    }
}

[[gnu::always_inline]] inline void Radix2(int n, int s, int step, const Twiddles& w, LaneBlock x,
                                          size_t xStride, LaneBlock y) {
    const int m = n / 2;
    for (int p = 0; p < m; ++p) {
        const size_t j = static_cast<size_t>(p) * step;
        const float wr = w.re[j], wi = w.im[j];
        for (int q = 0; q < s; ++q) {
            const Cx a = At(x, q + s * p, xStride), b = At(x, q + s * (p + m), xStride);
            Put(y, q + s * (2 * p), {a.re + b.re, a.im + b.im});
            Put(y, q + s * (2 * p + 1), Times({a.re - b.re, a.im - b.im}, wr, wi));
        }
    }
}

// Passes of radix 4, and one of 2 if the length needs it.
inline int Passes(int n) {
    int passes = 0;
    for (; n >= 4; n /= 4)
        ++passes;
    return passes + (n == 2 ? 1 : 0);
}

// The radix-4 Stockham transform of the n rows of `in` (inStride floats apart), the passes
// writing to y0 and y1 in turn; returns the one holding the result.
[[gnu::always_inline]] inline LaneBlock StockhamPasses(int n, const Twiddles& w, LaneBlock in,
                                                       size_t inStride, LaneBlock y0,
                                                       LaneBlock y1) {
    LaneBlock x = in, y = y0, other = y1;
    size_t stride = inStride;
    int s = 1;
    for (; n >= 4; n /= 4, s *= 4) {
        Radix4(n, s, s, w, x, stride, y);
        x = y;
        stride = Lanes;
        std::swap(y, other);
    }
    if (n == 2) {
        Radix2(n, s, s, w, x, stride, y);
        x = y;
    }
    return x;
}

// The transform of the n rows of `in` into `out`; `in` is overwritten.
[[gnu::always_inline]] inline void SmallDft(int n, const Twiddles& w, LaneBlock in, LaneBlock out) {
    const LaneBlock result = StockhamPasses(n, w, in, Lanes, out, in);
    if (result.re != out.re) {
        std::memcpy(out.re, result.re, sizeof(float) * Lanes * static_cast<size_t>(n));
        std::memcpy(out.im, result.im, sizeof(float) * Lanes * static_cast<size_t>(n));
    }
}

// The transform of the n rows of `in`, inStride floats apart and left as they are, into
// `out`, by way of `scratch`.
[[gnu::always_inline]] inline void SmallDftFrom(int n, const Twiddles& w, LaneBlock in,
                                                size_t inStride, LaneBlock out, LaneBlock scratch) {
    const bool odd = Passes(n) % 2 == 1;
    StockhamPasses(n, w, in, inStride, odd ? out : scratch, odd ? scratch : out);
}

[[gnu::always_inline]] inline Cx Mul(Cx a, Cx b) {
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}

// The signs of the 16 bits from `from` (a multiple of 16) on, as one row of lanes: lane l
// tests bit 15 - l of the 16.
[[gnu::always_inline]] inline void SignLanes(const BitSequence& s, uint64_t from, float* row) {
    const Mask laneBits = {1 << 15, 1 << 14, 1 << 13, 1 << 12, 1 << 11, 1 << 10, 1 << 9, 1 << 8,
                           1 << 7,  1 << 6,  1 << 5,  1 << 4,  1 << 3,  1 << 2,  1 << 1, 1};
    const auto bits = static_cast<int32_t>((s.words[from / 64] >> (48 - from % 64)) & 0xFFFF);
    const Mask set = ((Mask{} + bits) & laneBits) != 0;
    Store(row, set ? Row{} + 1.0f : Row{} - 1.0f);
}

// A 16 x 16 tile: row m holds lanes l. Transposed by swapping the off-diagonal blocks of
// each size in turn, two rows at a time.
using Tile = std::array<Row, Lanes>;

// Lanes of a then b, picked by m. GCC has the two-vector shuffle; clang, which reads this file
// for the naming check, takes the plain loop.
[[gnu::always_inline]] inline Row Shuffle(Row a, Row b, Mask m) {
#if defined(__clang__)
    Row r{};
    for (int c = 0; c < Lanes; ++c)
        r[c] = m[c] < Lanes ? a[m[c]] : b[m[c] - Lanes];
    return r;
#else
    return __builtin_shuffle(a, b, m);
#endif
}

[[gnu::always_inline]] inline void Transpose(Tile& t) {
#pragma GCC unroll 4
    for (int s = Lanes / 2; s >= 1; s /= 2) {
        Mask low{}, high{};
        for (int c = 0; c < Lanes; ++c) {
            low[c] = (c & s) == 0 ? c : Lanes + c - s;
            high[c] = (c & s) == 0 ? c + s : Lanes + c;
        }
#pragma GCC unroll 16
        for (int i = 0; i < Lanes; ++i)
            if ((i & s) == 0) {
                const Row a = t[static_cast<size_t>(i)], b = t[static_cast<size_t>(i + s)];
                t[static_cast<size_t>(i)] = Shuffle(a, b, low);
                t[static_cast<size_t>(i + s)] = Shuffle(a, b, high);
            }
    }
}

// Lanes where a < b as -1, the others 0 (a and b finite): the sign of a - b, which is zero only
// where they are equal. GCC sometimes lowers a comparison of vectors lane by lane in functions
// built for several targets (a tenth of the speed).
[[gnu::always_inline]] inline Mask Less(Row a, Row b) {
    return __builtin_bit_cast(Mask, a - b) >> 31;
}

// The sum of the lanes: of a mask summed from comparisons, minus the lanes that held.
[[gnu::always_inline]] inline int64_t LaneSum(Mask m) {
    int64_t sum = 0;
    for (int l = 0; l < Lanes; ++l)
        sum += m[l];
    return sum;
}

} // namespace zentrope
