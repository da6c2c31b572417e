// The exact distribution of the Kolmogorov-Smirnov distance D_n of n uniform values. The
// middle of the distribution comes from the matrix power of Marsaglia, Tsang and Wang
// (2003, "Evaluating Kolmogorov's distribution"); the upper tail, where that power grows
// large and 1 - P(D_n < d) loses its digits, from Smirnov's exact one-sided tail: P(D_n >= d) = 2
// P(D_n+ >= d) less the chance of crossing both bands, which is below 1e-10 of the result there.
#pragma once

#include <cstdint>

namespace zentrope {

// P(D_n < d). Its cost grows as (2 n d)^3 log n: keep n d^2 small (see KsExactPValue).
double KolmogorovCdf(int32_t n, double d);

// Smirnov's P(D_n+ >= d) = d sum_j C(n, j) (1 - d - j/n)^(n-j) (d + j/n)^(j-1), j <= n(1 - d).
double SmirnovUpperTail(int32_t n, double d);

// P(D_n >= d), the p-value of an observed distance d; NaN for n < 1 or d not a number.
// Exact up to 20,000 values and in the tail (n d^2 >= 4) for any n; in the middle of the
// distribution for more values, Stephens' approximation (KolmogorovQ), within about 0.3%.
// At most about 0.4 s (n = 10,000), mostly far less.
double KsExactPValue(int32_t n, double d);

} // namespace zentrope
