#include "tester/threshold_band.h"

#include "tester/lane_kernels.h"

#include <array>

namespace zentrope {
namespace {

// Lanes 0, 2, .. 30 and 1, 3, .. 31 of two rows: the real and imaginary parts of 16 values.
constexpr Mask Reals = {0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30};
constexpr Mask Imaginaries = {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29, 31};

// The squared moduli of 16 values from f on (32 floats).
[[gnu::always_inline]] inline Row SquaredModuli(const float* f) {
    const Row a = Load(f), b = Load(f + Lanes);
    const Row re = Shuffle(a, b, Reals), im = Shuffle(a, b, Imaginaries);
    return re * re + im * im;
}

// Values a block takes: the band is looked into once a block, a sum across lanes being slow.
constexpr size_t Block = 8 * Lanes;

} // namespace

BandCount MakeBandCount(double threshold, double relativeWidth) {
    BandCount c;
    c.low = static_cast<float>(threshold * (1 - relativeWidth));
    c.high = static_cast<float>(threshold * (1 + relativeWidth));
    return c;
}

// Each value's squared modulus is computed once and placed once: a second computation may be
// contracted differently and round to the other side of a band edge.
ZENTROPE_LANE_CLONES void CountInBand(std::span<const std::complex<float>> values, uint64_t first,
                                      BandCount& c) {
    const auto* f = reinterpret_cast<const float*>(values.data());
    const Row low = Row{} + c.low, high = Row{} + c.high;
    Mask below{};
    size_t i = 0;
    for (; i + Block <= values.size(); i += Block) {
        std::array<Mask, Block / Lanes> near;
        Mask any{};
        for (size_t v = 0; v < near.size(); ++v) {
            const Row norm = SquaredModuli(f + 2 * (i + v * Lanes));
            const Mask under = Less(norm, low);
            below += under;
            near[v] = Less(norm, high) & ~under;
            any |= near[v];
        }
        if (LaneSum(any) == 0)
            continue;
        for (size_t v = 0; v < near.size(); ++v)
            for (int l = 0; l < Lanes; ++l)
                if (near[v][l] != 0)
                    c.near.push_back(first + i + v * Lanes + static_cast<uint64_t>(l));
    }
    c.below += static_cast<uint64_t>(-LaneSum(below));
    for (; i < values.size(); ++i) {
        const std::complex<float> x = values[i];
        const float norm = x.real() * x.real() + x.imag() * x.imag();
        if (norm < c.low)
            ++c.below;
        else if (norm < c.high)
            c.near.push_back(first + i);
    }
}

std::optional<uint64_t> SettledCount(const BandCount& c, double threshold, size_t maxNear,
                                     const std::function<double(uint64_t)>& exactSquaredModulus) {
    if (c.near.size() > maxNear)
        return std::nullopt;
    uint64_t below = c.below;
    for (const uint64_t i : c.near)
        below += exactSquaredModulus(i) < threshold ? 1 : 0;
    return below;
}

} // namespace zentrope
