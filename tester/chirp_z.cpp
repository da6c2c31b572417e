#include "tester/chirp_z.h"

#include "tester/fftw_shared.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <map>
#include <memory>
#include <numbers>
#include <vector>

namespace zentrope {
namespace {

using Complex = std::complex<double>;

struct FftwFree {
    void operator()(void* p) const { fftw_free(p); }
};

// What every transform of one length shares: the chirp exp(-i pi j^2 / n), the transformed
// kernel (scaled by 1 / size, so that the convolution comes out unscaled) and the plan.
struct ChirpZTables {
    uint64_t size = 0; // the convolution's length
    std::vector<Complex> chirp;
    std::unique_ptr<fftw_complex, FftwFree> kernel;
    fftw_plan plan = nullptr;
};

// exp(sign * i pi m^2 / n), with m^2 reduced modulo 2n exactly so that the angle keeps full
// precision at every m.
Complex Chirp(uint64_t m, uint64_t n, double sign) {
    const uint64_t r = (m % (2 * n)) * (m % (2 * n)) % (2 * n);
    return std::polar(1.0,
                      sign * std::numbers::pi * static_cast<double>(r) / static_cast<double>(n));
}

Complex* AsComplex(fftw_complex* p) {
    // fftw_complex and std::complex<double> share their layout (FFTW manual, 4.1.1).
    return reinterpret_cast<Complex*>(p);
}

// The kernel b(m) = exp(i pi m^2 / n) for m = -(n - 1) .. n / 2 - 1, at m modulo size: every
// coefficient the test counts then comes out of the cyclic convolution unaliased.
void FillKernel(Complex* b, uint64_t n, uint64_t size) {
    std::fill(b, b + size, Complex{});
    for (uint64_t m = 0; m < n / 2; ++m)
        b[m] = Chirp(m, n, 1);
    for (uint64_t m = 1; m < n; ++m)
        b[size - m] = Chirp(m, n, 1);
}

std::unique_ptr<ChirpZTables> MakeTables(uint64_t n) {
    auto t = std::make_unique<ChirpZTables>();
    t->size = ChirpZLength(n);
    t->chirp.resize(n);
    for (uint64_t j = 0; j < n; ++j)
        t->chirp[j] = Chirp(j, n, -1);
    t->kernel.reset(static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * t->size)));
    if (!t->kernel)
        throw std::bad_alloc();
    fftw_complex* k = t->kernel.get();
    t->plan = fftw_plan_dft_1d(static_cast<int>(t->size), k, k, FFTW_FORWARD, FFTW_ESTIMATE);
    Complex* b = AsComplex(k);
    FillKernel(b, n, t->size);
    fftw_execute_dft(t->plan, k, k);
    const double scale = 1 / static_cast<double>(t->size);
    for (uint64_t i = 0; i < t->size; ++i)
        b[i] *= scale;
    return t;
}

const ChirpZTables& TablesFor(uint64_t n) {
    static std::map<uint64_t, std::unique_ptr<ChirpZTables>> tables;
    const std::lock_guard<std::mutex> guard(FftwPlannerLock());
    std::unique_ptr<ChirpZTables>& t = tables[n];
    if (!t)
        t = MakeTables(n);
    return *t;
}

// a(j) = x(j) * chirp(j), x(j) = +1 for a set bit and -1 for a clear one; zero beyond n.
void FillChirpedSigns(const BitSequence& s, const ChirpZTables& t, Complex* a) {
    const uint64_t n = t.chirp.size();
    for (uint64_t j = 0; j < n; ++j) {
        const double sign = BitAt(s, j) ? 1.0 : -1.0;
        a[j] = sign * t.chirp[j];
    }
    std::fill(a + n, a + t.size, Complex{});
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

uint64_t ChirpZLength(uint64_t length) {
    return SmallestSmoothLength(length + length / 2 - 1);
}

// X(k) = conj(c(k)) * sum over j of a(j) b(k - j), with a(j) = x(j) c(j) and b the kernel;
// |c(k)| = 1, so |X(k)| is the convolution's modulus. The inverse transform is the forward
// one of the conjugate (moduli do not see the conjugation of the result), so one plan serves.
uint64_t ChirpZSquaredModuliBelow(const BitSequence& s, uint64_t length, double threshold) {
    const ChirpZTables& t = TablesFor(length);
    fftw_complex* buffer = ThreadTransformBuffer(t.size);
    Complex* a = AsComplex(buffer);
    FillChirpedSigns(s, t, a);
    fftw_execute_dft(t.plan, buffer, buffer);
    const Complex* kernel = AsComplex(t.kernel.get());
    for (uint64_t i = 0; i < t.size; ++i)
        a[i] = std::conj(a[i] * kernel[i]);
    fftw_execute_dft(t.plan, buffer, buffer);
    uint64_t below = 0;
    for (uint64_t k = 0; k < length / 2; ++k)
        below += std::norm(a[k]) < threshold ? 1 : 0;
    return below;
}

uint64_t ChirpZThreadBytes(uint64_t length) {
    return sizeof(Complex) * ChirpZLength(length);
}

uint64_t ChirpZSharedBytes(uint64_t length) {
    return sizeof(Complex) * length + sizeof(Complex) * ChirpZLength(length) +
           FftwPlanBytes(1, ChirpZLength(length));
}

} // namespace zentrope
