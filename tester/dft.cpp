#include "randomness_tests.h"
#include "distributions.h"

#include <fftw3.h>

#include <cmath>
#include <complex>
#include <memory>

namespace zentrope {
namespace {

struct FftwFree {
    void operator()(void* p) const { fftw_free(p); }
};
template <typename T> using FftwBuffer = std::unique_ptr<T[], FftwFree>;

template <typename T> FftwBuffer<T> AllocateFftw(size_t count) {
    return FftwBuffer<T>(static_cast<T*>(fftw_malloc(sizeof(T) * count)));
}

} // namespace

uint64_t DftPeaksBelowThreshold(const BitSequence& s, uint64_t length) {
    const auto n = static_cast<size_t>(length);
    auto in = AllocateFftw<double>(n);
    auto out = AllocateFftw<fftw_complex>(n / 2 + 1);
    fftw_plan plan = fftw_plan_dft_r2c_1d(static_cast<int>(n), in.get(), out.get(), FFTW_ESTIMATE);
    for (size_t i = 0; i < n; ++i)
        in[i] = BitAt(s, i) ? 1.0 : -1.0;
    fftw_execute(plan);
    fftw_destroy_plan(plan);
    // Threshold below which 95% of the moduli of a random sequence lie.
    const double threshold = std::sqrt(std::log(1 / 0.05) * static_cast<double>(n));
    uint64_t below = 0;
    for (size_t k = 0; k < n / 2; ++k)
        if (std::hypot(out[k][0], out[k][1]) < threshold)
            ++below;
    return below;
}

// The variance n * 0.95 * 0.05 / 4 of the first published version is too small; this is the
// corrected n * 0.95 * 0.05 / 3.8 (Pareschi, Rovatti and Setti), which matches the spread of
// the count on random sequences.
double DftPValue(uint64_t length, uint64_t below) {
    const auto n = static_cast<double>(length);
    const double expected = 0.95 * n / 2;
    const double d = (static_cast<double>(below) - expected) / std::sqrt(n * 0.95 * 0.05 / 3.8);
    return NormalTwoSided(d);
}

double DftTest(const BitSequence& s, uint64_t length) {
    if (length < 2 || length > s.size || length > uint64_t{1} << 31)
        return NoResult;
    return DftPValue(length, DftPeaksBelowThreshold(s, length));
}

} // namespace zentrope
