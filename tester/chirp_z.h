// The one-dimensional spectral count at lengths FFTW has no fast transform for (a prime
// factor above 13): Bluestein's chirp-z algorithm ("A linear filtering approach to the
// computation of the discrete Fourier transform", 1970) turns the transform of length n into a
// cyclic convolution of a smooth length, which FFTW computes fast, or of a power of two, which
// the sixteen-lane convolution computes faster on processors with AVX-512. Its moduli are
// those of the plain transform to double-precision rounding.
#pragma once

#include "tester/bit_sequence.h"

#include <cstdint>

namespace zentrope {

// Whether FFTW transforms `length` fast: 2^a 3^b 5^c 7^d 11^e 13^f with e + f <= 1.
bool IsSmoothLength(uint64_t length);

// The smallest such length >= n.
uint64_t SmallestSmoothLength(uint64_t n);

// The convolution length for the coefficients 0 .. length / 2 - 1 of a transform of `length`.
uint64_t ChirpZLength(uint64_t length);

// Squared moduli under `threshold` among the coefficients k = 0 .. length / 2 - 1 of the
// first `length` bits read as +1 and -1.
uint64_t ChirpZSquaredModuliBelow(const BitSequence& s, uint64_t length, double threshold);

// Bytes each thread keeps for the convolution, and bytes kept once for the length: the chirp,
// the transformed kernel and FFTW's plan.
uint64_t ChirpZThreadBytes(uint64_t length);
uint64_t ChirpZSharedBytes(uint64_t length);

} // namespace zentrope
