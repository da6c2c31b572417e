// Threshold counts from single-precision transforms: a squared modulus clearly on one side of
// the threshold is counted as it is; one inside a narrow band around it, where the transform's
// rounding could put it on the wrong side, is noted and settled from its definition in double
// precision, so that the count is that of an exact transform.
#pragma once

#include <complex>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace zentrope {

struct BandCount {
    float low = 0, high = 0;    // the band: threshold times (1 -+ relative width)
    uint64_t below = 0;         // squared moduli under `low`
    std::vector<uint64_t> near; // indices of those in [low, high)
};

BandCount MakeBandCount(double threshold, double relativeWidth);

// Counts `values`, whose first is at index `first`.
void CountInBand(std::span<const std::complex<float>> values, uint64_t first, BandCount& c);

// The exact count, each noted index i settled by exactSquaredModulus(i) < threshold; nothing
// when more than `maxNear` were noted (then a double-precision transform is the cheaper).
std::optional<uint64_t> SettledCount(const BandCount& c, double threshold, size_t maxNear,
                                     const std::function<double(uint64_t)>& exactSquaredModulus);

} // namespace zentrope
