// The threshold counts of the spectral tests for power-of-two shapes, from single-precision
// four-step transforms on sixteen lanes. A modulus too close to the threshold for single
// precision is computed again from its definition in double precision, so the counts are
// those of an exact transform, as the double-precision path's are.
#pragma once

#include "tester/bit_sequence.h"

#include <cstdint>
#include <optional>

namespace zentrope {

// Whether `rows` x `columns` (rows = 1: one dimension) takes the fast path: on processors with
// AVX-512. SinglePrecisionBelow itself works on any shape of powers of two with columns >= 1024.
bool SinglePrecisionFits(uint64_t rows, uint64_t columns);

// Bytes each thread keeps for the fast path's transforms of that shape.
uint64_t SinglePrecisionBytes(uint64_t rows, uint64_t columns);

// Squared moduli under `threshold` among the coefficients the tests count: with one row
// k = 0 .. columns / 2 - 1; with more, one of each conjugate pair, the real-valued ones left
// out. Nothing when too many moduli lie too close to the threshold to settle them cheaply.
std::optional<uint64_t> SinglePrecisionBelow(const BitSequence& s, uint64_t rows, uint64_t columns,
                                             double threshold);

} // namespace zentrope
