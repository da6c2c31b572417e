#include "tester/lane_dft.h"

#include "tester/lane_kernels.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace zentrope {
Twiddles MakeTwiddles(uint64_t n) {
    Twiddles w;
    w.re.resize(n);
    w.im.resize(n);
    for (uint64_t j = 0; j < n; ++j) {
        const std::complex<double> root = UnitRoot(j, n);
        w.re[j] = static_cast<float>(root.real());
        w.im[j] = static_cast<float>(root.imag());
    }
    return w;
}

LanePlan MakeLanePlan(int n) {
    LanePlan plan;
    plan.n = n;
    plan.n2 = n;
    plan.w = MakeTwiddles(static_cast<uint64_t>(n));
    if (n > SmallRows) {
        plan.n1 = n <= 4 * SmallRows ? SmallRows / 4 : SmallRows / 2; // fastest here
        plan.n2 = n / plan.n1;
        plan.w1 = MakeTwiddles(static_cast<uint64_t>(plan.n1));
        plan.w2 = MakeTwiddles(static_cast<uint64_t>(plan.n2));
    }
    plan.n1Bits = std::countr_zero(static_cast<unsigned>(plan.n1));
    plan.n2Bits = std::countr_zero(static_cast<unsigned>(plan.n2));
    return plan;
}

ZENTROPE_LANE_CLONES void LaneDft(const LanePlan& plan, LaneBlock in, LaneBlock out) {
    if (plan.n1 == 1) {
        SmallDft(plan.n, plan.w, in, out);
        return;
    }
    const int n1 = plan.n1, n2 = plan.n2;
    thread_local LaneFloats staged;
    const size_t most = static_cast<size_t>(std::max(n1, n2)) * Lanes;
    // Apart by an odd number of rows, so the four arrays do not share cache sets.
    const size_t apart = most + 3 * Lanes;
    if (staged.size() < 4 * apart)
        staged.resize(4 * apart);
    const LaneBlock a{staged.data(), staged.data() + apart};
    const LaneBlock as{staged.data() + 2 * apart, staged.data() + 3 * apart};
    // Transforms of length n1 along each run q2 of n1 rows, in place, each coefficient k1
    // times exp(-2 pi i q2 k1 / n).
    for (int q2 = 0; q2 < n2; ++q2) {
        const LaneBlock run{in.re + static_cast<size_t>(q2) * n1 * Lanes,
                            in.im + static_cast<size_t>(q2) * n1 * Lanes};
        SmallDft(n1, plan.w1, run, as);
        for (int k1 = 0; k1 < n1; ++k1) {
            const size_t j = static_cast<size_t>(q2) * k1;
            Put(run, k1, Times(At(as, k1), plan.w.re[j], plan.w.im[j]));
        }
    }
    // Transforms of length n2 across the runs, coefficient k1 + n1 k2 to row k1 n2 + k2.
    for (int k1 = 0; k1 < n1; ++k1) {
        const size_t from = static_cast<size_t>(k1) * Lanes;
        const size_t to = static_cast<size_t>(k1) * n2 * Lanes;
        SmallDftFrom(n2, plan.w2, {in.re + from, in.im + from}, static_cast<size_t>(n1) * Lanes,
                     {out.re + to, out.im + to}, a);
    }
}

} // namespace zentrope
