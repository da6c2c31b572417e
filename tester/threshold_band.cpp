#include "tester/threshold_band.h"

namespace zentrope {
namespace {

// Written out: std::norm squares the modulus, which rounds differently in the two passes.
float SquaredModulus(std::complex<float> x) {
    return x.real() * x.real() + x.imag() * x.imag();
}

} // namespace

BandCount MakeBandCount(double threshold, double relativeWidth) {
    BandCount c;
    c.low = static_cast<float>(threshold * (1 - relativeWidth));
    c.high = static_cast<float>(threshold * (1 + relativeWidth));
    return c;
}

void CountInBand(std::span<const std::complex<float>> values, uint64_t first, BandCount& c) {
    uint64_t below = 0, inBand = 0;
    for (const std::complex<float>& x : values) {
        const float norm = SquaredModulus(x);
        below += norm < c.low ? 1 : 0;
        inBand += norm < c.high ? 1 : 0;
    }
    c.below += below;
    if (inBand == below)
        return;
    for (size_t i = 0; i < values.size(); ++i) {
        const float norm = SquaredModulus(values[i]);
        if (norm >= c.low && norm < c.high)
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
