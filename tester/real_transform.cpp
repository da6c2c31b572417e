#include "real_transform.h"

#include <fftw3.h>

#include <algorithm>
#include <array>
#include <cstring>
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

// Each byte's eight bits as +1 and -1, so that the input is filled eight values at a time.
using SignBlock = std::array<double, 8>;
const std::array<SignBlock, 256>& SignTable() {
    static const std::array<SignBlock, 256> table = [] {
        std::array<SignBlock, 256> t{};
        for (size_t byte = 0; byte < 256; ++byte)
            for (size_t k = 0; k < 8; ++k)
                t[byte][k] = (byte >> (7 - k)) & 1 ? 1.0 : -1.0;
        return t;
    }();
    return table;
}

void FillSigns(const BitSequence& s, uint64_t n, double* in) {
    const std::array<SignBlock, 256>& table = SignTable();
    uint64_t i = 0;
    for (; i + 64 <= n; i += 64) {
        const uint64_t word = BitsAt(s, i, 64);
        for (int byte = 0; byte < 8; ++byte)
            std::memcpy(in + i + 8 * static_cast<uint64_t>(byte),
                        table[(word >> (56 - 8 * byte)) & 0xFF].data(), sizeof(SignBlock));
    }
    for (; i < n; ++i)
        in[i] = BitAt(s, i) ? 1.0 : -1.0;
}

} // namespace

std::span<const std::complex<double>> TransformBits(const BitSequence& s, int rows,
                                                    uint64_t columns) {
    const uint64_t n = static_cast<uint64_t>(rows) * columns;
    const uint64_t outSize = static_cast<uint64_t>(rows) * (columns / 2 + 1);
    TransformBuffers& b = Buffers(n, outSize);
    fftw_plan plan = PlanFor(rows, static_cast<int>(columns), b);
    FillSigns(s, n, b.in.get());
    fftw_execute_dft_r2c(plan, b.in.get(), b.out.get());
    // fftw_complex and std::complex<double> share their layout (FFTW manual, 4.1.1).
    return {reinterpret_cast<const std::complex<double>*>(b.out.get()), outSize};
}

} // namespace zentrope
