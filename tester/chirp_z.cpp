#include "tester/chirp_z.h"

#include "tester/exact_coefficient.h"
#include "tester/fftw_shared.h"
#include "tester/lane_clones.h"
#include "tester/lane_convolution.h"
#include "tester/threshold_band.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <complex>
#include <map>
#include <memory>
#include <numbers>
#include <vector>

namespace zentrope {
namespace {

// Relative distance from the threshold within which a single-precision modulus is settled
// again exactly. Measured on good, biased and periodic bits from 32771 to 2,999,999 bits, the
// convolution's errors near the threshold had a spread of 2.4e-7 of it and stayed below
// 1.7e-6 in 830,000 moduli through FFTW, and a spread of 2.5e-7 to 6.3e-7 and below 3.2e-6
// in 368,000 moduli on the lanes; random bits put about 3 moduli a Mbit inside this band,
// each settled in about 0.2 ms a Mbit.
constexpr double Band = 2e-5;
// Beyond this many moduli near the threshold the double-precision convolution is cheaper: it
// took 58 ms a Mbit at 1 Mbit and 210 at 33 Mbit, a modulus settled 0.2 ms a Mbit, so the
// break-even lies at about 290 moduli. Random bits put about 3 a Mbit into the band (with
// 64 here, every sequence from about 20 Mbit on took the double-precision convolution).
constexpr size_t MaxRechecks = 256;

// What every transform of one length and precision shares: the chirp exp(-i pi j^2 / n), the
// transformed kernel (scaled by 1 / size, so that the convolution comes out unscaled) and the
// plan.
template <typename Real> struct ChirpZTables {
    uint64_t size = 0; // the convolution's length
    std::vector<std::complex<Real>> chirp;
    std::vector<std::complex<Real>> kernel;
    typename Fftw<Real>::Plan plan = nullptr;
};

// exp(sign * i pi m^2 / n), with m^2 reduced modulo 2n exactly so that the angle keeps full
// precision at every m.
std::complex<double> Chirp(uint64_t m, uint64_t n, double sign) {
    const uint64_t r = (m % (2 * n)) * (m % (2 * n)) % (2 * n);
    return std::polar(1.0,
                      sign * std::numbers::pi * static_cast<double>(r) / static_cast<double>(n));
}

struct FftwFree {
    void operator()(void* p) const { fftw_free(p); }
};

// The kernel b(m) = exp(i pi m^2 / n) for m = -(n - 1) .. n / 2 - 1, at m modulo size: every
// coefficient the test counts then comes out of the cyclic convolution unaliased. Transformed
// in double precision whatever the tables' precision, so that single precision rounds it once.
std::vector<std::complex<double>> TransformedKernel(uint64_t n, uint64_t size) {
    const std::unique_ptr<std::complex<double>, FftwFree> buffer(
        static_cast<std::complex<double>*>(fftw_malloc(sizeof(std::complex<double>) * size)));
    if (!buffer)
        throw std::bad_alloc();
    std::complex<double>* b = buffer.get();
    std::fill(b, b + size, std::complex<double>{});
    for (uint64_t m = 0; m < n / 2; ++m)
        b[m] = Chirp(m, n, 1);
    for (uint64_t m = 1; m < n; ++m)
        b[size - m] = Chirp(m, n, 1);
    const fftw_plan plan = Fftw<double>::PlanComplex(static_cast<int>(size), b);
    Fftw<double>::RunComplex(plan, b);
    fftw_destroy_plan(plan);
    const double scale = 1 / static_cast<double>(size);
    std::vector<std::complex<double>> kernel(b, b + size);
    for (std::complex<double>& k : kernel)
        k *= scale;
    return kernel;
}

// Made under the planner lock.
template <typename Real> std::unique_ptr<ChirpZTables<Real>> MakeTables(uint64_t n) {
    auto t = std::make_unique<ChirpZTables<Real>>();
    t->size = ChirpZLength(n);
    t->chirp.resize(n);
    for (uint64_t j = 0; j < n; ++j)
        t->chirp[j] = std::complex<Real>(Chirp(j, n, -1));
    const std::vector<std::complex<double>> kernel = TransformedKernel(n, t->size);
    t->kernel.assign(kernel.begin(), kernel.end());
    t->plan =
        Fftw<Real>::PlanComplex(static_cast<int>(t->size), ThreadTransformValues<Real>(t->size));
    return t;
}

template <typename Real> const ChirpZTables<Real>& TablesFor(uint64_t n) {
    static std::map<uint64_t, std::unique_ptr<ChirpZTables<Real>>> tables;
    const std::lock_guard<std::mutex> guard(FftwPlannerLock());
    std::unique_ptr<ChirpZTables<Real>>& t = tables[n];
    if (!t)
        t = MakeTables<Real>(n);
    return *t;
}

// a(j) = x(j) * chirp(j), x(j) = +1 for a set bit and -1 for a clear one; zero beyond n.
template <typename Real>
void FillChirpedSigns(const BitSequence& s, const ChirpZTables<Real>& t, std::complex<Real>* a) {
    const uint64_t n = t.chirp.size();
    // The sign as a factor, not a branch: on random bits a branch is mispredicted half the
    // time, which took longer than the transforms.
    for (uint64_t j = 0; j < n; ++j) {
        const Real sign = static_cast<Real>(2 * BitAt(s, j) - 1);
        a[j] = {sign * t.chirp[j].real(), sign * t.chirp[j].imag()};
    }
    std::fill(a + n, a + t.size, std::complex<Real>{});
}

// X(k) = conj(c(k)) * sum over j of a(j) b(k - j), with a(j) = x(j) c(j) and b the kernel;
// |c(k)| = 1, so |X(k)| is the convolution's modulus. The inverse transform is the forward
// one of the conjugate (moduli do not see the conjugation of the result), so one plan serves.
// Returns the convolution, |X(k)| at k < n / 2, in the thread's buffer.
template <typename Real>
const std::complex<Real>* Convolution(const BitSequence& s, const ChirpZTables<Real>& t) {
    std::complex<Real>* a = ThreadTransformValues<Real>(t.size);
    FillChirpedSigns(s, t, a);
    Fftw<Real>::RunComplex(t.plan, a);
    for (uint64_t i = 0; i < t.size; ++i) {
        // Written out: std::complex's product checks for infinities at every value.
        const std::complex<Real> x = a[i], k = t.kernel[i];
        a[i] = {x.real() * k.real() - x.imag() * k.imag(),
                -(x.real() * k.imag() + x.imag() * k.real())};
    }
    Fftw<Real>::RunComplex(t.plan, a);
    return a;
}

uint64_t DoublePrecisionBelow(const BitSequence& s, uint64_t length, double threshold) {
    const std::complex<double>* x = Convolution(s, TablesFor<double>(length));
    uint64_t below = 0;
    for (uint64_t k = 0; k < length / 2; ++k)
        below += std::norm(x[k]) < threshold ? 1 : 0;
    return below;
}

uint64_t SmoothFactorsLeft(uint64_t n) {
    for (uint64_t p : {2, 3, 5, 7})
        while (n % p == 0)
            n /= p;
    return n;
}

} // namespace

bool IsSmoothLength(uint64_t length) {
    const uint64_t rest = length == 0 ? 0 : SmoothFactorsLeft(length);
    return rest == 1 || rest == 11 || rest == 13;
}

uint64_t SmallestSmoothLength(uint64_t n) {
    uint64_t best = UINT64_MAX;
    for (uint64_t big : {uint64_t{1}, uint64_t{11}, uint64_t{13}})
        for (uint64_t p7 = big; p7 < 2 * n; p7 *= 7)
            for (uint64_t p5 = p7; p5 < 2 * n; p5 *= 5)
                for (uint64_t p3 = p5; p3 < 2 * n; p3 *= 3) {
                    uint64_t v = p3;
                    while (v < n)
                        v *= 2;
                    best = std::min(best, v);
                }
    return n <= 1 ? 1 : best;
}

// FFTW's estimated plans for this convolution ran at 5 to 7 ns a point where the length has
// between 2^6 and 2^12 as its power of two and no factor 11 or 13, and up to three times
// slower at other smooth lengths nearby (mostly odd ones, or large powers of two).
bool FastConvolutionLength(uint64_t length) {
    const int twos = std::countr_zero(length);
    return twos >= 6 && twos <= 12 && SmoothFactorsLeft(length) == 1;
}

uint64_t ChirpZLength(uint64_t length) {
    uint64_t size = SmallestSmoothLength(length + length / 2 - 1);
    while (!FastConvolutionLength(size))
        size = SmallestSmoothLength(size + 1);
    return size;
}

namespace {

// On processors with AVX-512 the single-precision convolution runs on sixteen lanes at the
// smallest power of two, or three times one, from 1.5 n on: at 1,000,003 bits the count took
// 14.5 ms at 2^21 and 10.7 ms at 3 x 2^19, against 27.7 ms through FFTW's estimated plans at
// its fast lengths.
uint64_t LaneChirpZLength(uint64_t length) {
    const uint64_t needed = length + length / 2 - 1;
    const uint64_t two = std::bit_ceil(needed), three = 3 * std::bit_ceil((needed + 2) / 3);
    return std::min(two, three);
}

bool OnLanes(uint64_t length) {
    static const bool wideVectors = WideLanes();
    return wideVectors && LaneConvolutionFits(LaneChirpZLength(length));
}

const LaneConvolution& LaneTablesFor(uint64_t n) {
    static std::map<uint64_t, std::unique_ptr<LaneConvolution>> tables;
    const std::lock_guard<std::mutex> guard(FftwPlannerLock());
    std::unique_ptr<LaneConvolution>& t = tables[n];
    if (!t) {
        std::vector<std::complex<double>> chirp(n);
        for (uint64_t j = 0; j < n; ++j)
            chirp[j] = Chirp(j, n, -1);
        t = std::make_unique<LaneConvolution>(
            MakeLaneConvolution(TransformedKernel(n, LaneChirpZLength(n)), chirp));
    }
    return *t;
}

BandCount SinglePrecisionCount(const BitSequence& s, uint64_t length, double threshold) {
    BandCount c = MakeBandCount(threshold, Band);
    if (OnLanes(length))
        LaneConvolutionCount(s, LaneTablesFor(length), length / 2, c);
    else
        CountInBand({Convolution(s, TablesFor<float>(length)), length / 2}, 0, c);
    return c;
}

} // namespace

uint64_t ChirpZSquaredModuliBelow(const BitSequence& s, uint64_t length, double threshold) {
    const BandCount c = SinglePrecisionCount(s, length, threshold);
    const std::optional<uint64_t> below = SettledCount(c, threshold, MaxRechecks, [&](uint64_t k) {
        return ExactSquaredModulus(s, 1, length, 0, k);
    });
    return below ? *below : DoublePrecisionBelow(s, length, threshold);
}

uint64_t ChirpZThreadBytes(uint64_t length) {
    // FFTW's transforms of both precisions take turns in one buffer; the lanes keep their own.
    const uint64_t fftw = sizeof(std::complex<double>) * ChirpZLength(length);
    return fftw + (OnLanes(length) ? LaneConvolutionThreadBytes(LaneChirpZLength(length)) : 0);
}

uint64_t ChirpZSharedBytes(uint64_t length) {
    // The double-precision chirp, kernel and plan (made when a line first needs them), the
    // single-precision tables of FFTW or of the lanes, and while a kernel is made, its
    // double-precision transform twice with its plan.
    const uint64_t size = ChirpZLength(length);
    const uint64_t exact = sizeof(std::complex<double>) * (length + size) + FftwPlanBytes(1, size);
    const uint64_t single =
        OnLanes(length) ? LaneConvolutionTableBytes(LaneChirpZLength(length), length)
                        : sizeof(std::complex<float>) * (length + size) + FftwPlanBytes(1, size);
    const uint64_t made = std::max(size, OnLanes(length) ? LaneChirpZLength(length) : 0);
    return exact + single + 2 * sizeof(std::complex<double>) * made + FftwPlanBytes(1, made);
}

} // namespace zentrope
