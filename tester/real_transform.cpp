#include "tester/real_transform.h"

#include "tester/byte_lanes.h"
#include "tester/fftw_shared.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <mutex>
#include <utility>

namespace zentrope {
namespace {

fftw_plan PlanFor(int rows, int columns, fftw_complex* buffer) {
    static std::map<std::pair<int, int>, fftw_plan> plans;
    const std::lock_guard<std::mutex> guard(FftwPlannerLock());
    auto [it, added] = plans.try_emplace({rows, columns}, nullptr);
    if (added)
        it->second = fftw_plan_dft_r2c_2d(rows, columns, reinterpret_cast<double*>(buffer), buffer,
                                          FFTW_ESTIMATE);
    return it->second;
}

// Each byte's eight bits as +1 and -1, so that the input is filled eight values at a time.
const ByteLanes<double>& SignTable() {
    static const ByteLanes<double> table = MakeByteLanes(1.0, -1.0);
    return table;
}

// The `count` bits from `from` on as +1 and -1.
void FillSigns(const BitSequence& s, uint64_t from, uint64_t count, double* in) {
    const ByteLanes<double>& table = SignTable();
    uint64_t i = 0;
    for (; i + 64 <= count; i += 64) {
        const uint64_t word = BitsAt(s, from + i, 64);
        for (int byte = 0; byte < 8; ++byte)
            std::memcpy(in + i + 8 * static_cast<uint64_t>(byte),
                        table[(word >> (56 - 8 * byte)) & 0xFF].data(), sizeof(table[0]));
    }
    for (; i < count; ++i)
        in[i] = BitAt(s, from + i) ? 1.0 : -1.0;
}

} // namespace

std::span<const std::complex<double>> TransformBits(const BitSequence& s, int rows,
                                                    uint64_t columns) {
    const uint64_t half = columns / 2 + 1;
    const uint64_t size = static_cast<uint64_t>(rows) * half;
    // The transform runs in place: the input rows are padded to 2 * (columns / 2 + 1) values,
    // the room their coefficients take, so one buffer of 8 bytes a bit serves both.
    fftw_complex* buffer = ThreadTransformBuffer(size);
    fftw_plan plan = PlanFor(rows, static_cast<int>(columns), buffer);
    auto* in = reinterpret_cast<double*>(buffer);
    for (uint64_t r = 0; r < static_cast<uint64_t>(rows); ++r)
        FillSigns(s, r * columns, columns, in + 2 * half * r);
    fftw_execute_dft_r2c(plan, in, buffer);
    // fftw_complex and std::complex<double> share their layout (FFTW manual, 4.1.1).
    return {reinterpret_cast<const std::complex<double>*>(buffer), size};
}

uint64_t SquaredModuliBelow(std::span<const std::complex<double>> values, double threshold) {
    uint64_t below = 0;
    for (const std::complex<double>& x : values)
        below += std::norm(x) < threshold ? 1 : 0;
    return below;
}

} // namespace zentrope
