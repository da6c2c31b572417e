#include "tester/lane_convolution.h"

#include "tester/lane_kernels.h"

#include <algorithm>
#include <bit>
#include <tuple>
#include <utility>

namespace zentrope {
namespace {

// The matrix: element (r, c) at r * pitch + c. The pitch is a row of lanes more than Q, so
// that the sixteen rows a transpose reads, Q floats apart (a power of two), do not all fall
// into the same sets of the first-level cache.
struct Matrix {
    float* re;
    float* im;
    size_t pitch;
};

size_t Pitch(int q) {
    return static_cast<size_t>(q) + Lanes;
}

struct ConvolutionWork {
    LaneFloats re, im, inRe, inIm, outRe, outIm, scratchRe, scratchIm;
};

ConvolutionWork& ThreadConvolutionWork() {
    thread_local ConvolutionWork work;
    return work;
}

// exp(-2 pi i a (b0 + l) / size) in lane l, b0 a multiple of 16 and a b0 < size (a row and a
// column of the matrix, one of them of the lanes).
[[gnu::always_inline]] inline Cx Twiddle(const LaneConvolution& plan, int a, int b0) {
    const uint64_t j = static_cast<uint64_t>(a) * static_cast<uint64_t>(b0 / Lanes);
    const size_t at = static_cast<size_t>(a) * Lanes;
    return Times({Load(&plan.laneRe[at]), Load(&plan.laneIm[at])}, plan.sixteens.re[j],
                 plan.sixteens.im[j]);
}

[[gnu::always_inline]] inline Cx Element(Matrix m, int row, int c0) {
    const size_t at = static_cast<size_t>(row) * m.pitch + static_cast<size_t>(c0);
    return {Load(m.re + at), Load(m.im + at)};
}

[[gnu::always_inline]] inline void SetElement(Matrix m, int row, int c0, Cx v) {
    const size_t at = static_cast<size_t>(row) * m.pitch + static_cast<size_t>(c0);
    Store(m.re + at, v.re);
    Store(m.im + at, v.im);
}

// x(t) w(t) for t = t0 .. t0 + 15, t0 a multiple of 16.
[[gnu::always_inline]] inline Cx WeightedSigns(const BitSequence& s, const LaneConvolution& plan,
                                               uint64_t t0) {
    if (t0 >= plan.weightRe.size())
        return {Row{}, Row{}};
    alignas(64) float signs[Lanes];
    SignLanes(s, t0, signs);
    const Row sign = Load(signs);
    return {sign * Load(&plan.weightRe[t0]), sign * Load(&plan.weightIm[t0])};
}

// Runs of sixteen columns the column steps read together: each row's four cache lines in one
// go (one at a time, every load waited for its line: a third of the time).
constexpr int Sweep = 4;

// Rows ahead that the column steps ask for: each row lies in another page, where the
// processor's own prefetching stops.
constexpr int Ahead = 8;

// The cache lines of a sweep from base + at on that lie before base + end.
void Fetch(const float* base, size_t at, size_t end) {
    for (size_t i = 0; i < Sweep && at + Lanes * i < end; ++i)
        __builtin_prefetch(base + at + Lanes * i);
}

LaneBlock Offset(LaneBlock b, size_t by) {
    return {b.re + by, b.im + by};
}

// Where the column transform reads element r of a column.
[[gnu::always_inline]] inline int ColumnRow(const LaneConvolution& plan, int r) {
    return plan.third == 0 ? InputRow(plan.columns, r) : r;
}

// Coefficient k of the column transform in `out`: with a radix-3 step, k = 3 k' + j comes
// from the transform of length P' in the j-th third of `out`.
[[gnu::always_inline]] inline Cx ColumnCoefficient(const LaneConvolution& plan, LaneBlock out,
                                                   int k) {
    if (plan.third == 0)
        return At(out, OutputRow(plan.columns, k));
    const size_t third = static_cast<size_t>(k % 3) * static_cast<size_t>(plan.third) * Lanes;
    return At(Offset(out, third), OutputRow(plan.columns, k / 3));
}

// The transform of the P rows of `in` (as ColumnRow places them; overwritten) into `out`.
// Decimated in frequency by three: y_j(p') = sum over m of x(p' + m P') w3^(j m), times
// exp(-2 pi i j p' / P), whose transforms of length P' give the coefficients 3 k' + j.
[[gnu::always_inline]] inline void ColumnTransform(const LaneConvolution& plan, LaneBlock in,
                                                   LaneBlock out, LaneBlock scratch) {
    if (plan.third == 0) {
        LaneDft(plan.columns, in, out);
        return;
    }
    const int third = plan.third;
    const size_t size = static_cast<size_t>(third) * Lanes;
    const float half = 0.5f, root = 0.8660254037844386f; // sin(2 pi / 3)
    for (int r = 0; r < third; ++r) {
        const Cx a = At(in, r), b = At(in, r + third), c = At(in, r + 2 * third);
        const Cx sum{b.re + c.re, b.im + c.im}, diff{b.re - c.re, b.im - c.im};
        const Cx mid{a.re - half * sum.re, a.im - half * sum.im};
        const Cx turn{root * diff.im, -root * diff.re}; // -i sin(2 pi / 3) (b - c)
        const int row = InputRow(plan.columns, r);
        const size_t at = static_cast<size_t>(2 * r) * Lanes;
        const Cx w1{Load(&plan.thirdRe[at]), Load(&plan.thirdIm[at])};
        const Cx w2{Load(&plan.thirdRe[at + Lanes]), Load(&plan.thirdIm[at + Lanes])};
        Put(scratch, row, {a.re + sum.re, a.im + sum.im});
        Put(Offset(scratch, size), row, Mul({mid.re + turn.re, mid.im + turn.im}, w1));
        Put(Offset(scratch, 2 * size), row, Mul({mid.re - turn.re, mid.im - turn.im}, w2));
    }
    for (size_t j = 0; j < 3; ++j)
        LaneDft(plan.columns, Offset(scratch, j * size), Offset(out, j * size));
}

// t = Q p + q: the transforms over p of each run of sixteen columns, twiddled by
// exp(-2 pi i q kp / size) and left in place, row kp.
[[gnu::always_inline]] inline void ForwardColumns(const BitSequence& s, const LaneConvolution& plan,
                                                  Matrix m, LaneBlock in, LaneBlock out,
                                                  LaneBlock scratch) {
    const int p = plan.p, q = plan.q;
    const size_t block = static_cast<size_t>(p) * Lanes;
    for (int q0 = 0; q0 < q; q0 += Sweep * Lanes) {
        for (int r = 0; r < p; ++r) {
            const int row = ColumnRow(plan, r);
            const uint64_t t0 = static_cast<uint64_t>(r) * static_cast<uint64_t>(q) + q0;
            const size_t ahead = t0 + Ahead * static_cast<size_t>(q);
            Fetch(plan.weightRe.data(), ahead, plan.weightRe.size());
            Fetch(plan.weightIm.data(), ahead, plan.weightIm.size());
            for (int i = 0; i < Sweep; ++i)
                Put(Offset(in, i * block), row, WeightedSigns(s, plan, t0 + Lanes * i));
        }
        for (int i = 0; i < Sweep; ++i) {
            const int c0 = q0 + Lanes * i;
            ColumnTransform(plan, Offset(in, i * block), out, scratch);
            for (int kp = 0; kp < p; ++kp)
                SetElement(m, kp, c0, Mul(ColumnCoefficient(plan, out, kp), Twiddle(plan, kp, c0)));
        }
    }
}

// Rows 16 g .. 16 g + 15 of the matrix as lanes, row c of `in` where the row transform reads
// element c.
[[gnu::always_inline]] inline void ReadStrip(const LaneConvolution& plan, Matrix m, int g,
                                             LaneBlock in) {
    for (int c0 = 0; c0 < plan.q; c0 += Lanes) {
        Tile re, im;
        for (int r = 0; r < Lanes; ++r) {
            const Cx v = Element(m, Lanes * g + r, c0);
            re[static_cast<size_t>(r)] = v.re;
            im[static_cast<size_t>(r)] = v.im;
        }
        Transpose(re);
        Transpose(im);
        for (int l = 0; l < Lanes; ++l)
            Put(in, InputRow(plan.rows, c0 + l),
                {re[static_cast<size_t>(l)], im[static_cast<size_t>(l)]});
    }
}

// The row transform's output q, twiddled by exp(-2 pi i q kp / size), back into rows 16 g ..
// 16 g + 15 of the matrix.
[[gnu::always_inline]] inline void WriteStrip(const LaneConvolution& plan, LaneBlock out, int g,
                                              Matrix m) {
    for (int q0 = 0; q0 < plan.q; q0 += Lanes) {
        Tile re, im;
        for (int l = 0; l < Lanes; ++l) {
            const Cx z =
                Mul(At(out, OutputRow(plan.rows, q0 + l)), Twiddle(plan, q0 + l, Lanes * g));
            re[static_cast<size_t>(l)] = z.re;
            im[static_cast<size_t>(l)] = z.im;
        }
        Transpose(re);
        Transpose(im);
        for (int r = 0; r < Lanes; ++r)
            SetElement(m, Lanes * g + r, q0,
                       {re[static_cast<size_t>(r)], im[static_cast<size_t>(r)]});
    }
}

// Along each row kp: the transform over q gives X(kp + P kq); times the kernel's transform
// and conjugated, the backward transform is a forward one (its conjugate result has the same
// moduli). Its first step is the transform over kq, twiddled by exp(-2 pi i q kp / size).
[[gnu::always_inline]] inline void Strips(const LaneConvolution& plan, Matrix m, LaneBlock in,
                                          LaneBlock out) {
    for (int g = 0; g < plan.p / Lanes; ++g) {
        ReadStrip(plan, m, g, in);
        LaneDft(plan.rows, in, out);
        const size_t kernel = static_cast<size_t>(g) * static_cast<size_t>(plan.q) * Lanes;
        for (int kq = 0; kq < plan.q; ++kq) {
            const size_t at = kernel + static_cast<size_t>(kq) * Lanes;
            const Cx z = Mul(At(out, OutputRow(plan.rows, kq)),
                             {Load(&plan.kernelRe[at]), Load(&plan.kernelIm[at])});
            Put(in, InputRow(plan.rows, kq), {z.re, -z.im});
        }
        LaneDft(plan.rows, in, out);
        WriteStrip(plan, out, g, m);
    }
}

// The count of the lanes of z in `valid`: those under the band into `below`, those inside it
// noted (the first at t0).
[[gnu::always_inline]] inline void CountLanes(Cx z, Mask valid, Row low, Row high, uint64_t t0,
                                              Mask& below, BandCount& c) {
    const Row norm = z.re * z.re + z.im * z.im;
    const Mask under = Less(norm, low) & valid;
    below += under;
    const Mask near = Less(norm, high) & valid & ~under;
    if (LaneSum(near) != 0)
        for (int l = 0; l < Lanes; ++l)
            if (near[l] != 0)
                c.near.push_back(t0 + static_cast<uint64_t>(l));
}

// The transforms over kp give the convolution at t = q + Q p; those with t < count counted.
[[gnu::always_inline]] inline void BackwardColumns(const LaneConvolution& plan, Matrix m,
                                                   uint64_t count, LaneBlock in, LaneBlock out,
                                                   LaneBlock scratch, BandCount& c) {
    const int p = plan.p, q = plan.q;
    const size_t block = static_cast<size_t>(p) * Lanes;
    const Row low = Row{} + c.low, high = Row{} + c.high;
    const Mask lane = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    Mask below{};
    for (int q0 = 0; q0 < q; q0 += Sweep * Lanes) {
        for (int r = 0; r < p; ++r) {
            const int row = ColumnRow(plan, r);
            const size_t ahead = static_cast<size_t>(r + Ahead) * m.pitch + q0;
            const size_t end = static_cast<size_t>(p) * m.pitch;
            Fetch(m.re, ahead, end);
            Fetch(m.im, ahead, end);
            for (int i = 0; i < Sweep; ++i)
                Put(Offset(in, i * block), row, Element(m, r, q0 + Lanes * i));
        }
        for (int i = 0; i < Sweep; ++i) {
            ColumnTransform(plan, Offset(in, i * block), out, scratch);
            for (int r = 0; r < p; ++r) {
                const uint64_t t0 =
                    static_cast<uint64_t>(r) * static_cast<uint64_t>(q) + q0 + Lanes * i;
                if (t0 >= count)
                    break;
                const auto left = static_cast<int32_t>(std::min<uint64_t>(count - t0, Lanes));
                CountLanes(ColumnCoefficient(plan, out, r), lane < left, low, high, t0, below, c);
            }
        }
    }
    c.below += static_cast<uint64_t>(-LaneSum(below));
}

ZENTROPE_LANE_CLONES void CountConvolution(const BitSequence& s, const LaneConvolution& plan,
                                           uint64_t count, BandCount& c) {
    ConvolutionWork& w = ThreadConvolutionWork();
    const size_t matrix = static_cast<size_t>(plan.p) * Pitch(plan.q);
    const size_t block = static_cast<size_t>(std::max(plan.p, plan.q)) * Lanes;
    for (LaneFloats* v : {&w.re, &w.im})
        v->resize(std::max(v->size(), matrix));
    for (LaneFloats* v : {&w.inRe, &w.inIm})
        v->resize(std::max(v->size(), Sweep * block));
    for (LaneFloats* v : {&w.outRe, &w.outIm, &w.scratchRe, &w.scratchIm})
        v->resize(std::max(v->size(), block));
    const Matrix m{w.re.data(), w.im.data(), Pitch(plan.q)};
    const LaneBlock in{w.inRe.data(), w.inIm.data()}, out{w.outRe.data(), w.outIm.data()};
    const LaneBlock scratch{w.scratchRe.data(), w.scratchIm.data()};
    ForwardColumns(s, plan, m, in, out, scratch);
    Strips(plan, m, in, out);
    BackwardColumns(plan, m, count, in, out, scratch, c);
}

// P >= Q, as near the square root as the length allows; a factor 3 goes to P.
std::pair<int, int> Sides(uint64_t size) {
    const int bits = std::countr_zero(size);
    if (size >> bits == 3)
        return {3 << (bits / 2), 1 << ((bits + 1) / 2)};
    return {1 << ((bits + 1) / 2), 1 << (bits / 2)};
}

uint64_t RoundedToLanes(uint64_t n) {
    return (n + Lanes - 1) / Lanes * Lanes;
}

} // namespace

bool LaneConvolutionFits(uint64_t size) {
    const bool smooth =
        std::has_single_bit(size) || (size % 3 == 0 && std::has_single_bit(size / 3));
    return smooth && size >= uint64_t{1} << 12;
}

LaneConvolution MakeLaneConvolution(std::span<const std::complex<double>> kernelTransform,
                                    std::span<const std::complex<double>> weights) {
    LaneConvolution plan;
    plan.size = kernelTransform.size();
    std::tie(plan.p, plan.q) = Sides(plan.size);
    plan.third = plan.p % 3 == 0 ? plan.p / 3 : 0;
    plan.columns = MakeLanePlan(plan.third == 0 ? plan.p : plan.third);
    for (uint64_t r = 0; r < static_cast<uint64_t>(plan.third); ++r)
        for (uint64_t j = 1; j <= 2; ++j) {
            const std::complex<double> w = UnitRoot(j * r, static_cast<uint64_t>(plan.p));
            plan.thirdRe.insert(plan.thirdRe.end(), Lanes, static_cast<float>(w.real()));
            plan.thirdIm.insert(plan.thirdIm.end(), Lanes, static_cast<float>(w.imag()));
        }
    plan.rows = MakeLanePlan(plan.q);
    plan.sixteens = MakeTwiddles(plan.size / Lanes);
    for (uint64_t a = 0; a < static_cast<uint64_t>(std::max(plan.p, plan.q)); ++a)
        for (uint64_t l = 0; l < Lanes; ++l) {
            const std::complex<double> w = UnitRoot(a * l, plan.size);
            plan.laneRe.push_back(static_cast<float>(w.real()));
            plan.laneIm.push_back(static_cast<float>(w.imag()));
        }
    for (int g = 0; g < plan.p / Lanes; ++g)
        for (int kq = 0; kq < plan.q; ++kq)
            for (int l = 0; l < Lanes; ++l) {
                const std::complex<double> k =
                    kernelTransform[static_cast<size_t>(Lanes * g + l + plan.p * kq)];
                plan.kernelRe.push_back(static_cast<float>(k.real()));
                plan.kernelIm.push_back(static_cast<float>(k.imag()));
            }
    plan.weightRe.assign(RoundedToLanes(weights.size()), 0.0f);
    plan.weightIm.assign(plan.weightRe.size(), 0.0f);
    for (size_t t = 0; t < weights.size(); ++t) {
        plan.weightRe[t] = static_cast<float>(weights[t].real());
        plan.weightIm[t] = static_cast<float>(weights[t].imag());
    }
    return plan;
}

void LaneConvolutionCount(const BitSequence& s, const LaneConvolution& plan, uint64_t count,
                          BandCount& c) {
    CountConvolution(s, plan, std::min(count, plan.size), c);
}

uint64_t LaneConvolutionThreadBytes(uint64_t size) {
    const auto [p, q] = Sides(size);
    const auto most = static_cast<uint64_t>(std::max(p, q));
    // The matrix, the blocks of lanes, and the four that LaneDft stages its steps in.
    return sizeof(float) * (2 * static_cast<uint64_t>(p) * Pitch(q) +
                            2 * (Sweep + 2) * most * Lanes + 4 * (most + 3) * Lanes);
}

uint64_t LaneConvolutionTableBytes(uint64_t size, uint64_t weights) {
    const auto [p, q] = Sides(size);
    const auto most = static_cast<uint64_t>(std::max(p, q));
    const uint64_t twiddles =
        size / Lanes + most * Lanes + 2 * static_cast<uint64_t>(p + q) + 2 * Lanes * most;
    return 2 * sizeof(float) * (size + twiddles + RoundedToLanes(weights));
}

} // namespace zentrope
