#include "tester/real_transform.h"

#include <fftw3.h>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

namespace zentrope {
namespace {

struct FftwFree {
    void operator()(void* p) const { fftw_free(p); }
};

// fftw_malloc gives every buffer the alignment the cached plans were made for.
struct TransformBuffers {
    std::unique_ptr<double, FftwFree> in;
    std::unique_ptr<fftw_complex, FftwFree> out;
    size_t inSize = 0;
    size_t outSize = 0;
};

TransformBuffers& Buffers(size_t inSize, size_t outSize) {
    thread_local TransformBuffers b;
    if (b.inSize < inSize) {
        b.in.reset(static_cast<double*>(fftw_malloc(sizeof(double) * inSize)));
        b.inSize = inSize;
    }
    if (b.outSize < outSize) {
        b.out.reset(static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * outSize)));
        b.outSize = outSize;
    }
    return b;
}

fftw_plan PlanFor(int rows, int columns, TransformBuffers& b) {
    static std::mutex lock;
    static std::map<std::pair<int, int>, fftw_plan> plans;
    const std::lock_guard<std::mutex> guard(lock);
    auto [it, added] = plans.try_emplace({rows, columns}, nullptr);
    if (added)
        it->second = fftw_plan_dft_r2c_2d(rows, columns, b.in.get(), b.out.get(), FFTW_ESTIMATE);
    return it->second;
}

} // namespace

std::span<const std::complex<double>> TransformBits(const BitSequence& s, int rows,
                                                    uint64_t columns) {
    const uint64_t n = static_cast<uint64_t>(rows) * columns;
    const uint64_t outSize = static_cast<uint64_t>(rows) * (columns / 2 + 1);
    TransformBuffers& b = Buffers(n, outSize);
    fftw_plan plan = PlanFor(rows, static_cast<int>(columns), b);
    double* in = b.in.get();
    for (uint64_t i = 0; i < n; i += 64) {
        const int take = static_cast<int>(std::min<uint64_t>(64, n - i));
        const uint64_t chunk = BitsAt(s, i, take);
        for (int k = 0; k < take; ++k)
            in[i + static_cast<uint64_t>(k)] = ((chunk >> (take - 1 - k)) & 1) ? 1.0 : -1.0;
    }
    fftw_execute_dft_r2c(plan, in, b.out.get());
    // fftw_complex and std::complex<double> share their layout (FFTW manual, 4.1.1).
    return {reinterpret_cast<const std::complex<double>*>(b.out.get()), outSize};
}

} // namespace zentrope
