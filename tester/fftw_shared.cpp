#include "tester/fftw_shared.h"

#include <memory>
#include <new>

namespace zentrope {
namespace {

struct FftwFree {
    void operator()(void* p) const { fftw_free(p); }
};

struct TransformBuffer {
    std::unique_ptr<fftw_complex, FftwFree> data;
    size_t count = 0;
};

} // namespace

std::mutex& FftwPlannerLock() {
    static std::mutex lock;
    return lock;
}

uint64_t FftwPlanBytes(uint64_t rows, uint64_t columns) {
    return 20 * ((rows > 1 ? rows : 0) + columns) + (uint64_t{64} << 10);
}

fftw_complex* ThreadTransformBuffer(size_t count) {
    thread_local TransformBuffer b;
    if (b.count < count) {
        b.data.reset();
        b.data.reset(static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * count)));
        if (!b.data)
            throw std::bad_alloc();
        b.count = count;
    }
    return b.data.get();
}

} // namespace zentrope
