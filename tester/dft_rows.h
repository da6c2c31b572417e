// The spectral test in two dimensions: the bits laid out row after row as a matrix of
// `rows` rows, its two-dimensional discrete Fourier transform, and the share of moduli under
// the threshold below which 95% of them lie on random bits. With one row this is the NIST
// test; more rows also see periods that fit the row length (dependence between bits a row
// apart).
#pragma once

#include "tester/bit_sequence.h"

#include <cstdint>

namespace zentrope {

// Rows the layout takes; each row needs at least two columns.
inline constexpr int DftMaxRows = 1 << 16;
// Bits a line of `rows` rows needs.
uint64_t DftRowsBits(int rows);

// Columns used of `length` bits in `rows` rows: as many as fit, cut to a length the
// transform handles fast.
uint64_t DftColumns(uint64_t length, int rows);

struct DftRowsCount {
    uint64_t below = 0;   // coefficients under the threshold
    uint64_t counted = 0; // one of each conjugate pair, the real-valued ones left out
};
DftRowsCount DftRowsPeaksBelowThreshold(const BitSequence& s, int rows, uint64_t columns);
// Normal with mean 0.95 counted and the variance per coefficient of the one-dimensional
// test, 0.95 * 0.05 / 1.9 (the Parseval constraint narrows the binomial 0.95 * 0.05).
double DftRowsPValue(const DftRowsCount& c);
double DftRowsTest(const BitSequence& s, uint64_t length, int rows);

} // namespace zentrope
