// The discrete Fourier transform of bits read as +1 and -1, for the spectral tests. FFTW's
// planner is not reentrant, so plans are made once per shape under one lock and then run from
// any thread; each thread keeps its own buffers, so the sequences of a run reuse both.
#pragma once

#include "tester/bit_sequence.h"

#include <complex>
#include <cstdint>
#include <span>

namespace zentrope {

// The first rows * columns bits laid out row after row (rows = 1: one dimension); returns the
// rows x (columns / 2 + 1) coefficients of the non-redundant half, row after row. They stay
// valid until the calling thread's next transform.
std::span<const std::complex<double>> TransformBits(const BitSequence& s, int rows,
                                                    uint64_t columns);

// Coefficients whose squared modulus is under `threshold`.
uint64_t SquaredModuliBelow(std::span<const std::complex<double>> values, double threshold);

} // namespace zentrope
