// The discrete Fourier transform of bits read as +1 and -1, for the spectral tests, in double
// or single precision. FFTW's planner is not reentrant, so plans are made once per shape under
// one lock and then run from any thread; each thread keeps its own buffers, so the sequences
// of a run reuse both.
#pragma once

#include "tester/bit_sequence.h"

#include <complex>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace zentrope {

// The first rows * columns bits laid out row after row (rows = 1: one dimension); returns the
// rows x (columns / 2 + 1) coefficients of the non-redundant half, row after row. They stay
// valid until the calling thread's next transform.
template <typename Real = double>
std::span<const std::complex<Real>> TransformBits(const BitSequence& s, int rows, uint64_t columns);

// Coefficients whose squared modulus is under `threshold`.
uint64_t SquaredModuliBelow(std::span<const std::complex<double>> values, double threshold);

// Coefficients first .. first + size - 1 of what TransformBits returns.
struct CoefficientRun {
    uint64_t first = 0, size = 0;
};

// Squared moduli under `threshold` among the runs' coefficients, from the double-precision
// transform.
uint64_t DoublePrecisionBelow(const BitSequence& s, uint64_t rows, uint64_t columns,
                              double threshold, std::span<const CoefficientRun> runs);

// The same count from the single-precision transform, the moduli near the threshold settled
// from their definition; nothing when too many lie near it.
std::optional<uint64_t> SinglePrecisionFftwBelow(const BitSequence& s, uint64_t rows,
                                                 uint64_t columns, double threshold,
                                                 std::span<const CoefficientRun> runs);

} // namespace zentrope
