// One coefficient of the two-dimensional transform of bits read as +1 and -1, in double
// precision straight from its definition: the arbiter for moduli that a single-precision
// transform cannot place on one side of a threshold.
#pragma once

#include "tester/bit_sequence.h"

#include <cstdint>

namespace zentrope {

// |X(k1, k2)|^2 of the first rows * columns bits laid out row after row, where
// X(k1, k2) = sum over a, b of x(a * columns + b) exp(-2 pi i (a k1 / rows + b k2 / columns)).
// Takes time in proportion to the bits.
double ExactSquaredModulus(const BitSequence& s, uint64_t rows, uint64_t columns, uint64_t k1,
                           uint64_t k2);

} // namespace zentrope
