// A cyclic convolution with a fixed kernel at a power-of-two length, on sixteen lanes in
// single precision: the signed bits, each times a weight, transformed, multiplied by the
// kernel's transform and transformed back, in one buffer held as a P x Q matrix (Bailey's four
// steps, "FFTs in external or hierarchical memory", 1990). Transforms down its columns take
// sixteen neighbouring columns as lanes; those along its rows take sixteen rows at a time,
// turned into lanes by 16 x 16 transposes. The forward transform's last step, the product,
// and the backward transform's first step run on those sixteen rows while they stay in cache.
#pragma once

#include "tester/bit_sequence.h"
#include "tester/lane_dft.h"
#include "tester/threshold_band.h"

#include <complex>
#include <cstdint>
#include <span>

namespace zentrope {

// What every convolution with one kernel and one set of weights shares (read only).
struct LaneConvolution {
    uint64_t size = 0; // P * Q
    int p = 0, q = 0;
    // P = 3 P' takes a radix-3 step (twiddles exp(-2 pi i j p' / P), j = 1, 2, rows 2 p' and
    // 2 p' + 1) and then three transforms of length P'; third = P', or 0 when P is a power of two.
    int third = 0;
    LaneFloats thirdRe, thirdIm;
    LanePlan columns, rows;        // lengths P (or P') and Q
    Twiddles sixteens;             // exp(-2 pi i 16 j / size), j < size / 16
    LaneFloats laneRe, laneIm;     // exp(-2 pi i a l / size), a < max(P, Q), l < 16
    LaneFloats kernelRe, kernelIm; // the kernel's transform, for kp = 16 g + l row g Q + kq
    LaneFloats weightRe, weightIm; // zero from the last weight to a multiple of 16
};

// Whether the convolution runs at `size`: a power of two, or three times one, from 2^12 on.
bool LaneConvolutionFits(uint64_t size);

// `kernelTransform`: the kernel's forward transform divided by its length (size values, in
// natural order), so that the convolution comes out unscaled.
LaneConvolution MakeLaneConvolution(std::span<const std::complex<double>> kernelTransform,
                                    std::span<const std::complex<double>> weights);

// The squared moduli of values 0 .. count - 1 of the convolution of x(t) w(t) with the kernel,
// x(t) = +1 for a set bit and -1 for a clear one, w the weights (t < weights): those under
// the band counted into c, those inside it noted.
void LaneConvolutionCount(const BitSequence& s, const LaneConvolution& plan, uint64_t count,
                          BandCount& c);

// Bytes each thread keeps for the convolution, and bytes its tables take.
uint64_t LaneConvolutionThreadBytes(uint64_t size);
uint64_t LaneConvolutionTableBytes(uint64_t size, uint64_t weights);

} // namespace zentrope
