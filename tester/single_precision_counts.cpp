#include "tester/single_precision_counts.h"

#include "tester/exact_coefficient.h"
#include "tester/lane_dft.h"
#include "tester/lane_kernels.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

namespace zentrope {
namespace {

// Relative distance from the threshold within which a single-precision modulus is settled
// again exactly. Measured on random bits, the transforms' errors there have a spread of
// 2e-7 of the threshold and stayed below 7e-7 in 2,400 moduli; random bits put about 0.8
// moduli a line inside this band.
constexpr double Band = 5e-6;
// Beyond this many moduli near the threshold the double-precision transform is cheaper.
constexpr size_t MaxRechecks = 48;

[[gnu::always_inline]] inline Row Norm(Cx z) {
    return z.re * z.re + z.im * z.im;
}

// Two real sequences packed as z = u + i v into one transform, taken apart again with the
// partner coefficient n - k: U(k) = (Z(k) + conj Z(n - k)) / 2 and
// V(k) = (Z(k) - conj Z(n - k)) / 2i.
[[gnu::always_inline]] inline void Unpack(Cx z, Cx partner, Cx& u, Cx& v) {
    u = {(z.re + partner.re) * 0.5f, (z.im - partner.im) * 0.5f};
    v = {(z.im + partner.im) * 0.5f, (partner.re - z.re) * 0.5f};
}

// A row of length L = P * Q in four steps: transforms of length P down the columns of the
// P x Q matrix, the twiddles exp(-2 pi i q kp / L), then transforms of length Q along its
// rows, which the scatter in between has turned into lanes.
struct RowPlan {
    uint64_t length = 0;
    int p = 0, q = 0;
    LanePlan columns, rows;    // lengths P and Q
    Twiddles sixteens;         // exp(-2 pi i 16 j / L), j < L / 16
    LaneFloats laneRe, laneIm; // exp(-2 pi i kp l / L), kp < P, l < Lanes
};

// P >= Q, as near the square root as powers of two go.
std::pair<int, int> Split(uint64_t length) {
    const int bits = std::countr_zero(length);
    return {1 << ((bits + 1) / 2), 1 << (bits / 2)};
}

RowPlan MakeRowPlan(uint64_t length) {
    RowPlan plan;
    plan.length = length;
    std::tie(plan.p, plan.q) = Split(length);
    plan.columns = MakeLanePlan(plan.p);
    plan.rows = MakeLanePlan(plan.q);
    plan.sixteens = MakeTwiddles(length / Lanes);
    for (uint64_t kp = 0; kp < static_cast<uint64_t>(plan.p); ++kp)
        for (uint64_t l = 0; l < Lanes; ++l) {
            const std::complex<double> w = UnitRoot(kp * l, length);
            plan.laneRe.push_back(static_cast<float>(w.real()));
            plan.laneIm.push_back(static_cast<float>(w.imag()));
        }
    return plan;
}

template <typename Key, typename Plan> const Plan& Cached(Key key, Plan (*make)(Key)) {
    thread_local std::map<Key, Plan> plans;
    auto it = plans.find(key);
    if (it == plans.end())
        it = plans.emplace(key, make(key)).first;
    return it->second;
}

// exp(-2 pi i kp (q0 + l) / L) for the lanes l of the columns from q0 (a multiple of 16) on.
[[gnu::always_inline]] inline Cx Twiddle(const RowPlan& plan, int kp, uint64_t q0) {
    const uint64_t j = static_cast<uint64_t>(kp) * (q0 / Lanes) & (plan.length / Lanes - 1);
    const size_t at = static_cast<size_t>(kp) * Lanes;
    const Cx lane{Load(&plan.laneRe[at]), Load(&plan.laneIm[at])};
    return Times(lane, plan.sixteens.re[j], plan.sixteens.im[j]);
}

// A buffer kept from line to line, starting `skew` rows into its storage: buffers used
// together get different skews, so that equal rows of two of them neither share cache sets
// nor look alike to the store buffer (their allocations tend to lie 4 KB multiples apart).
struct Buffer {
    explicit Buffer(int rows) : skew(rows) {}

    int skew;
    LaneFloats storage;
    float* data = nullptr;

    float* Grow(size_t size) {
        const size_t needed = size + static_cast<size_t>(skew) * Lanes;
        if (storage.size() < needed)
            storage.resize(needed);
        data = storage.data() + static_cast<size_t>(skew) * Lanes;
        return data;
    }
};

// Buffers of one thread.
struct Work {
    Buffer lanesRe{0}, lanesIm{3}, outsRe{5}, outsIm{7}, inRe{9}, inIm{11}, outRe{13}, outIm{15},
        acrossRe{17}, acrossIm{19};
    LaneBlock In() { return {inRe.data, inIm.data}; }
    LaneBlock Out() { return {outRe.data, outIm.data}; }
    LaneBlock Across() { return {acrossRe.data, acrossIm.data}; }
};

Work& ThreadWork() {
    thread_local Work work;
    return work;
}

void GrowBlocks(Work& w, int rows) {
    for (Buffer* b : {&w.inRe, &w.inIm, &w.outRe, &w.outIm, &w.acrossRe, &w.acrossIm})
        b->Grow(static_cast<size_t>(rows) * Lanes);
}

// Values (kp, q0 + l) of the column transforms for the 16 kp of lane block g, re and im in
// tile rows kp % 16: turned so that each q0 + l becomes one row of lane block g, stored where
// the row transforms read element q0 + l.
[[gnu::always_inline]] inline void StoreTransposed(Tile& re, Tile& im, LaneBlock lanes, int g,
                                                   uint64_t q0, const RowPlan& plan) {
    Transpose(re);
    Transpose(im);
    const size_t block = static_cast<size_t>(g) * plan.q * Lanes;
    for (int l = 0; l < Lanes; ++l) {
        const auto row = static_cast<size_t>(InputRow(plan.rows, static_cast<int>(q0) + l));
        Store(lanes.re + block + row * Lanes, re[static_cast<size_t>(l)]);
        Store(lanes.im + block + row * Lanes, im[static_cast<size_t>(l)]);
    }
}

struct Near {
    uint64_t k1, k2;
};

struct Tally {
    float low = 0, high = 0; // the threshold's band
    uint64_t below = 0;
    std::vector<Near> near;
};

[[gnu::always_inline]] inline Mask LanesWhere(int g, bool (*keep)(int kp, int p), int p) {
    Mask m{};
    for (int l = 0; l < Lanes; ++l)
        m[l] = keep(Lanes * g + l, p) ? -1 : 0;
    return m;
}

// Which lanes of the row transforms' output count, for lane block g (lane m is column
// kp = 16 g + m): of a real row's transform, kp <= P / 2 while kq < Q / 2 and 0 < kp < P / 2
// after; the other coefficients are conjugates of these.
struct LaneChoice {
    Mask low, high;
};

[[gnu::always_inline]] inline LaneChoice ChooseLanes(int g, int p) {
    return {LanesWhere(
                g, [](int kp, int p) { return kp <= p / 2; }, p),
            LanesWhere(
                g, [](int kp, int p) { return kp > 0 && kp < p / 2; }, p)};
}

// The lanes of output row kq that count. In two dimensions the coefficients of a row's
// frequencies 0 and L / 2 pair up across the rows instead: of those, row k1 counts only for
// 0 < k1 < rows / 2 (`edge`); one dimension passes edge = -1 and keeps k = 0.
[[gnu::always_inline]] inline Mask Valid(const LaneChoice& c, int g, int kq, int q, int edge) {
    Mask valid = kq < q / 2 ? c.low : c.high;
    if (edge >= 0 && g == 0 && (kq == 0 || kq == q / 2))
        valid[0] = -edge;
    return valid;
}

// Adds to `below` and `near` the lanes in `valid` under the band and inside it.
[[gnu::always_inline]] inline void CountRow(Cx z, Mask valid, Row low, Row high, Mask& below,
                                            Mask& near) {
    const Row norm = Norm(z);
    // Only "<": GCC takes ">=" on these vectors lane by lane.
    const Mask under = (norm < low) & valid;
    below += under;
    near += (norm < high) & valid & ~under;
}

// Notes the lanes of z inside the band (coefficient kp + P kq of row k1).
[[gnu::always_inline]] inline void NoteNear(Cx z, Mask valid, int g, int kq, int p, uint64_t k1,
                                            Tally& t) {
    const Row low = Row{} + t.low, high = Row{} + t.high;
    Mask below{}, near{};
    CountRow(z, valid, low, high, below, near);
    for (int m = 0; m < Lanes; ++m)
        if (near[m] != 0)
            t.near.push_back({k1, static_cast<uint64_t>(Lanes * g + m + p * kq)});
}

// The transforms down the columns of a real row, unpacked and twiddled into its lanes (lane
// block kp / 16, row where the row transforms read q). columns(q0) gives a block with the P
// values of columns q0 .. q0 + 15 in re and of the columns Q / 2 further in im, row p where
// InputRow says; the transform may overwrite it.
template <typename Columns>
[[gnu::always_inline]] inline void ColumnStep(const Columns& columns, const RowPlan& plan,
                                              LaneBlock lanes, Work& w) {
    const int p = plan.p;
    const uint64_t half = static_cast<uint64_t>(plan.q) / 2;
    for (uint64_t q0 = 0; q0 < half; q0 += Lanes) {
        LaneDft(plan.columns, columns(q0), w.Out());
        for (int g = 0; g <= p / 2 / Lanes; ++g) {
            Tile uRe, uIm, vRe, vIm;
            for (int m = 0; m < Lanes; ++m) {
                const int kp = Lanes * g + m;
                if (kp > p / 2) { // lanes past the last column, never counted
                    uRe[static_cast<size_t>(m)] = uIm[static_cast<size_t>(m)] = Row{};
                    vRe[static_cast<size_t>(m)] = vIm[static_cast<size_t>(m)] = Row{};
                    continue;
                }
                Cx u, v;
                Unpack(At(w.Out(), OutputRow(plan.columns, kp)),
                       At(w.Out(), OutputRow(plan.columns, (p - kp) & (p - 1))), u, v);
                u = Mul(u, Twiddle(plan, kp, q0));
                v = Mul(v, Twiddle(plan, kp, q0 + half));
                uRe[static_cast<size_t>(m)] = u.re;
                uIm[static_cast<size_t>(m)] = u.im;
                vRe[static_cast<size_t>(m)] = v.re;
                vIm[static_cast<size_t>(m)] = v.im;
            }
            StoreTransposed(uRe, uIm, lanes, g, q0, plan);
            StoreTransposed(vRe, vIm, lanes, g, q0 + half, plan);
        }
    }
}

int LaneBlocks(int p) {
    return p / 2 / Lanes + 1;
}

int LaneBlocks(const RowPlan& plan) {
    return LaneBlocks(plan.p);
}

// Floats a real row's lanes take.
size_t RowLanes(int p, int q) {
    return static_cast<size_t>(LaneBlocks(p)) * static_cast<size_t>(q) * Lanes;
}

size_t RowLanes(const RowPlan& plan) {
    return RowLanes(plan.p, plan.q);
}

LaneBlock Offset(LaneBlock b, size_t by) {
    return {b.re + by, b.im + by};
}

// The bits of one row of the layout, from `from` on, as the column step reads them.
[[gnu::always_inline]] inline LaneBlock Signs(const BitSequence& s, uint64_t from, uint64_t q0,
                                              const RowPlan& plan, Work& w) {
    const auto q = static_cast<uint64_t>(plan.q);
    for (int p = 0; p < plan.p; ++p) {
        const size_t row = static_cast<size_t>(InputRow(plan.columns, p)) * Lanes;
        const uint64_t at = from + static_cast<uint64_t>(p) * q + q0;
        SignLanes(s, at, w.In().re + row);
        SignLanes(s, at + q / 2, w.In().im + row);
    }
    return w.In();
}

// One dimension: coefficients 0 .. L / 2 - 1.
[[gnu::always_inline]] inline void CountLine(const BitSequence& s, const RowPlan& plan, Work& w,
                                             Tally& t) {
    const LaneBlock lanes{w.lanesRe.Grow(RowLanes(plan)), w.lanesIm.Grow(RowLanes(plan))};
    ColumnStep([&](uint64_t q0) { return Signs(s, 0, q0, plan, w); }, plan, lanes, w);
    const Row low = Row{} + t.low, high = Row{} + t.high;
    const int n2 = plan.rows.n2;
    for (int g = 0; g < LaneBlocks(plan); ++g) {
        LaneDft(plan.rows, Offset(lanes, static_cast<size_t>(g) * plan.q * Lanes), w.Out());
        const LaneChoice c = ChooseLanes(g, plan.p);
        // Output row i n2 + j holds kq = i + n1 j, below Q / 2 exactly when j < n2 / 2.
        Mask below{}, near{};
        for (int run = 0; run < plan.q; run += n2) {
            for (int row = run; row < run + n2 / 2; ++row)
                CountRow(At(w.Out(), row), c.low, low, high, below, near);
            for (int row = run + n2 / 2; row < run + n2; ++row)
                CountRow(At(w.Out(), row), c.high, low, high, below, near);
        }
        t.below += static_cast<uint64_t>(-LaneSum(below));
        if (LaneSum(near) == 0)
            continue;
        for (int row = 0; row < plan.q; ++row) {
            const int kq = OutputFrequency(plan.rows, row);
            NoteNear(At(w.Out(), row), Valid(c, g, kq, plan.q, -1), g, kq, plan.p, 0, t);
        }
    }
}

// Two dimensions: the rows' one-dimensional transforms, then the transforms across the rows,
// output row by output row, counted as they come (notes only when `note`).
[[gnu::always_inline]] inline void CountAcross(LaneBlock outs, int g, const RowPlan& plan,
                                               const LanePlan& down, bool note, Work& w, Tally& t,
                                               Mask& below, Mask& near) {
    const int r = down.n;
    const size_t block = static_cast<size_t>(plan.q) * Lanes;
    const Row low = Row{} + t.low, high = Row{} + t.high;
    const LaneChoice c = ChooseLanes(g, plan.p);
    for (int row = 0; row < plan.q; ++row) {
        const LaneBlock first = Offset(outs, static_cast<size_t>(row) * Lanes);
        if (down.n1 == 1) { // the rows read where they are
            SmallDftFrom(r, down.w, first, block, w.Across(), w.In());
        } else {
            for (int a = 0; a < r; ++a)
                Put(w.In(), InputRow(down, a), At(first, a, block));
            LaneDft(down, w.In(), w.Across());
        }
        const int kq = OutputFrequency(plan.rows, row);
        for (int k1 = 0; k1 < r; ++k1) {
            const Mask valid = Valid(c, g, kq, plan.q, k1 > 0 && 2 * k1 < r ? 1 : 0);
            const Cx z = At(w.Across(), OutputRow(down, k1));
            if (note)
                NoteNear(z, valid, g, kq, plan.p, static_cast<uint64_t>(k1), t);
            else
                CountRow(z, valid, low, high, below, near);
        }
    }
}

[[gnu::always_inline]] inline void CountLayout(const BitSequence& s, uint64_t rows,
                                               const RowPlan& plan, Work& w, Tally& t) {
    const LanePlan& down = Cached(static_cast<int>(rows), MakeLanePlan);
    const size_t rowLanes = RowLanes(plan);
    const LaneBlock lanes{w.lanesRe.Grow(rows * rowLanes), w.lanesIm.Grow(rows * rowLanes)};
    const size_t block = static_cast<size_t>(plan.q) * Lanes;
    const LaneBlock outs{w.outsRe.Grow(rows * block), w.outsIm.Grow(rows * block)};
    for (uint64_t a = 0; a < rows; ++a) {
        const uint64_t from = a * plan.length;
        ColumnStep([&](uint64_t q0) { return Signs(s, from, q0, plan, w); }, plan,
                   Offset(lanes, a * rowLanes), w);
    }
    for (int g = 0; g < LaneBlocks(plan); ++g) {
        for (uint64_t a = 0; a < rows; ++a)
            LaneDft(plan.rows, Offset(lanes, a * rowLanes + static_cast<size_t>(g) * block),
                    Offset(outs, a * block));
        Mask below{}, near{};
        CountAcross(outs, g, plan, down, false, w, t, below, near);
        t.below += static_cast<uint64_t>(-LaneSum(below));
        if (LaneSum(near) != 0)
            CountAcross(outs, g, plan, down, true, w, t, below, near);
    }
}

// The transform of the bits, counted into t, with the helpers above inlined into each build.
ZENTROPE_LANE_CLONES void CountTransform(const BitSequence& s, uint64_t rows, uint64_t columns,
                                         Tally& t) {
    const RowPlan& plan = Cached(columns, MakeRowPlan);
    Work& w = ThreadWork();
    GrowBlocks(w, std::max({plan.p, plan.q, static_cast<int>(rows)}));
    if (rows == 1)
        CountLine(s, plan, w, t);
    else
        CountLayout(s, rows, plan, w, t);
}

} // namespace

bool SinglePrecisionFits(uint64_t rows, uint64_t columns) {
    // Sixteen lanes fill an AVX-512 register; narrower ones take several registers a row and
    // spill, and FFTW's double-precision transform is then the faster (measured: AVX2 three
    // times slower than FFTW here, with the same counts).
    static const bool wideVectors = WideLanes();
    return wideVectors && std::has_single_bit(rows) && rows <= 1024 &&
           std::has_single_bit(columns) && columns >= 1024 && rows * columns <= uint64_t{1} << 30;
}

uint64_t SinglePrecisionBytes(uint64_t rows, uint64_t columns) {
    const auto [P, Q] = Split(columns);
    const uint64_t lanes = 2 * rows * RowLanes(P, Q);
    const uint64_t outs = rows > 1 ? 2 * rows * static_cast<uint64_t>(Q) * Lanes : 0;
    const uint64_t blocks =
        6 * std::max<uint64_t>({static_cast<uint64_t>(P), static_cast<uint64_t>(Q), rows}) * Lanes;
    const uint64_t tables = 2 * (columns / Lanes + static_cast<uint64_t>(P) * Lanes + P + Q);
    return sizeof(float) * (lanes + outs + blocks + tables);
}

std::optional<uint64_t> SinglePrecisionBelow(const BitSequence& s, uint64_t rows, uint64_t columns,
                                             double threshold) {
    Tally t;
    t.low = static_cast<float>(threshold * (1 - Band));
    t.high = static_cast<float>(threshold * (1 + Band));
    CountTransform(s, rows, columns, t);
    if (t.near.size() > MaxRechecks)
        return std::nullopt;
    for (const Near& c : t.near)
        t.below += ExactSquaredModulus(s, rows, columns, c.k1, c.k2) < threshold ? 1 : 0;
    return t.below;
}

} // namespace zentrope
