#include "tester/real_transform.h"

#include "tester/byte_lanes.h"
#include "tester/exact_coefficient.h"
#include "tester/fftw_shared.h"
#include "tester/threshold_band.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <mutex>
#include <utility>

namespace zentrope {
namespace {

// Relative distance from the threshold within which a modulus of the single-precision
// transform is settled again exactly (see threshold_band.h). Measured on good, biased and
// periodic bits in one and two dimensions (1 x 40000 to 32 x 31250 and 1 x 2999997), its
// errors near the threshold had a spread of 1.5e-7 of it (2.3e-7 on periodic bits) and stayed
// below 3.3e-6 in 2.3 million moduli; random bits put about 2 moduli a Mbit inside this band.
constexpr double Band = 2e-5;
// Beyond this many moduli inside the band the double-precision transform is the cheaper.
constexpr size_t MaxNear = 64;

template <typename Real>
typename Fftw<Real>::Plan PlanFor(int rows, int columns, std::complex<Real>* buffer) {
    static std::map<std::pair<int, int>, typename Fftw<Real>::Plan> plans;
    const std::lock_guard<std::mutex> guard(FftwPlannerLock());
    auto [it, added] = plans.try_emplace({rows, columns}, nullptr);
    if (added)
        it->second = Fftw<Real>::PlanReal(rows, columns, buffer);
    return it->second;
}

// Each byte's eight bits as +1 and -1, so that the input is filled eight values at a time.
template <typename Real> const ByteLanes<Real>& SignTable() {
    static const ByteLanes<Real> table = MakeByteLanes<Real>(1, -1);
    return table;
}

// The `count` bits from `from` on as +1 and -1.
template <typename Real>
void FillSigns(const BitSequence& s, uint64_t from, uint64_t count, Real* in) {
    const ByteLanes<Real>& table = SignTable<Real>();
    uint64_t i = 0;
    for (; i + 64 <= count; i += 64) {
        const uint64_t word = BitsAt(s, from + i, 64);
        for (int byte = 0; byte < 8; ++byte)
            std::memcpy(in + i + 8 * static_cast<uint64_t>(byte),
                        table[(word >> (56 - 8 * byte)) & 0xFF].data(), sizeof(table[0]));
    }
    for (; i < count; ++i)
        in[i] = static_cast<Real>(2 * BitAt(s, from + i) - 1);
}

} // namespace

template <typename Real>
std::span<const std::complex<Real>> TransformBits(const BitSequence& s, int rows,
                                                  uint64_t columns) {
    const uint64_t half = columns / 2 + 1;
    const uint64_t size = static_cast<uint64_t>(rows) * half;
    // The transform runs in place: the input rows are padded to 2 * (columns / 2 + 1) values,
    // the room their coefficients take, so one buffer serves both.
    std::complex<Real>* buffer = ThreadTransformValues<Real>(size);
    const auto plan = PlanFor<Real>(rows, static_cast<int>(columns), buffer);
    auto* in = reinterpret_cast<Real*>(buffer);
    for (uint64_t r = 0; r < static_cast<uint64_t>(rows); ++r)
        FillSigns(s, r * columns, columns, in + 2 * half * r);
    Fftw<Real>::RunReal(plan, buffer);
    return {buffer, size};
}

template std::span<const std::complex<double>> TransformBits(const BitSequence&, int, uint64_t);
template std::span<const std::complex<float>> TransformBits(const BitSequence&, int, uint64_t);

uint64_t SquaredModuliBelow(std::span<const std::complex<double>> values, double threshold) {
    uint64_t below = 0;
    for (const std::complex<double>& x : values)
        below += std::norm(x) < threshold ? 1 : 0;
    return below;
}

uint64_t DoublePrecisionBelow(const BitSequence& s, uint64_t rows, uint64_t columns,
                              double threshold, std::span<const CoefficientRun> runs) {
    const std::span<const std::complex<double>> out =
        TransformBits(s, static_cast<int>(rows), columns);
    uint64_t below = 0;
    for (const CoefficientRun& run : runs)
        below += SquaredModuliBelow(out.subspan(run.first, run.size), threshold);
    return below;
}

std::optional<uint64_t> SinglePrecisionFftwBelow(const BitSequence& s, uint64_t rows,
                                                 uint64_t columns, double threshold,
                                                 std::span<const CoefficientRun> runs) {
    const std::span<const std::complex<float>> out =
        TransformBits<float>(s, static_cast<int>(rows), columns);
    BandCount c = MakeBandCount(threshold, Band);
    for (const CoefficientRun& run : runs)
        CountInBand(out.subspan(run.first, run.size), run.first, c);
    const uint64_t half = columns / 2 + 1;
    return SettledCount(c, threshold, MaxNear, [&](uint64_t i) {
        return ExactSquaredModulus(s, rows, columns, i / half, i % half);
    });
}

} // namespace zentrope
