#include "dft_rows.h"
#include "distributions.h"
#include "randomness_tests.h"
#include "test_plan.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace zentrope {
namespace {

struct FftwFree {
    void operator()(void* p) const { fftw_free(p); }
};

// Input and output of the transform, kept per thread so that every sequence of a run reuses
// them; fftw_malloc gives the alignment the cached plans were made for.
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

// FFTW's planner is not reentrant; plans, once made, run on any arrays of the same
// alignment from any thread.
fftw_plan PlanFor(int rows, int columns, TransformBuffers& b) {
    static std::mutex lock;
    static std::map<std::pair<int, int>, fftw_plan> plans;
    const std::lock_guard<std::mutex> guard(lock);
    auto [it, added] = plans.try_emplace({rows, columns}, nullptr);
    if (added)
        it->second = fftw_plan_dft_r2c_2d(rows, columns, b.in.get(), b.out.get(), FFTW_ESTIMATE);
    return it->second;
}

// A coefficient (k1, k2) of the stored half (k2 <= columns / 2) whose conjugate partner
// ((rows - k1) % rows, columns - k2) is not stored, or is stored later in the same column.
bool CountedOnce(uint64_t k1, uint64_t k2, uint64_t rows, uint64_t columns) {
    const bool edgeColumn = k2 == 0 || 2 * k2 == columns;
    if (!edgeColumn)
        return true;
    const uint64_t partner = (rows - k1) % rows;
    return k1 < partner; // the real ones (k1 == partner) are left out
}

} // namespace

// Shortest length at which the p-values of random sequences are uniform (tests/tester).
constexpr uint64_t DftRowsMinBits = 65536;

uint64_t DftRowsBits(int rows) {
    return std::max<uint64_t>(DftRowsMinBits, 2 * static_cast<uint64_t>(rows));
}

uint64_t DftColumns(uint64_t length, int rows) {
    return LargestSmoothLength(length / static_cast<uint64_t>(rows));
}

DftRowsCount DftRowsPeaksBelowThreshold(const BitSequence& s, int rows, uint64_t columns) {
    const auto r = static_cast<uint64_t>(rows);
    const uint64_t n = r * columns;
    const uint64_t half = columns / 2 + 1;
    TransformBuffers& b = Buffers(n, r * half);
    fftw_plan plan = PlanFor(rows, static_cast<int>(columns), b);
    double* in = b.in.get();
    for (uint64_t i = 0; i < n; i += 64) {
        const int take = static_cast<int>(std::min<uint64_t>(64, n - i));
        const uint64_t chunk = BitsAt(s, i, take);
        for (int k = 0; k < take; ++k)
            in[i + static_cast<uint64_t>(k)] = ((chunk >> (take - 1 - k)) & 1) ? 1.0 : -1.0;
    }
    fftw_execute_dft_r2c(plan, in, b.out.get());
    // |X|^2 / n is exponential with mean 1 on random bits: below ln 20 with probability 0.95.
    const double threshold = std::log(20.0) * static_cast<double>(n);
    DftRowsCount c;
    for (uint64_t k1 = 0; k1 < r; ++k1)
        for (uint64_t k2 = 0; k2 < half; ++k2) {
            if (!CountedOnce(k1, k2, r, columns))
                continue;
            const fftw_complex& x = b.out.get()[k1 * half + k2];
            ++c.counted;
            if (x[0] * x[0] + x[1] * x[1] < threshold)
                ++c.below;
        }
    return c;
}

double DftRowsPValue(const DftRowsCount& c) {
    const auto m = static_cast<double>(c.counted);
    const double d = (static_cast<double>(c.below) - 0.95 * m) / std::sqrt(m * 0.95 * 0.05 / 1.9);
    return NormalTwoSided(d);
}

double DftRowsTest(const BitSequence& s, uint64_t length, int rows) {
    if (rows < 1 || length > s.size)
        return NoResult;
    const uint64_t columns = DftColumns(length, rows);
    if (columns < 2 || columns > INT32_MAX)
        return NoResult;
    return DftRowsPValue(DftRowsPeaksBelowThreshold(s, rows, columns));
}

} // namespace zentrope
