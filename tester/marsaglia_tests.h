// Tests of Marsaglia: the bitstream test, one of the sparse occupancy ("monkey") tests of
// Marsaglia and Zaman, "Monkey tests for random number generators" (Computers Math. Applic.
// 26, 1993), and the gcd and birthday spacings tests of Marsaglia and Tsang, "Some
// difficult-to-pass tests of randomness" (J. Statistical Software 7(3), 2002), both on the
// sequence read as 32-bit words.
#pragma once

#include "tester/bit_sequence.h"

#include <cstdint>
#include <vector>

namespace zentrope {

// Bitstream test: 2^(w+1) overlapping w-bit words, the number of w-bit words that do not
// occur. Published for w = 20 (2^21 + 19 bits): normal, mean 141909, sigma 428; shorter
// sequences take the largest w that fits, the sigma scaled by 2^((w - 20) / 2).
inline constexpr int SparseOccupancyMaxWord = 20;
inline constexpr int SparseOccupancyMinWord = 14;
uint64_t SparseOccupancyBits(int wordBits); // bits one sample of w-bit words takes
int SparseOccupancyWordBits(uint64_t n);    // 0 when n is too short
uint64_t MissingWords(const BitSequence& s, uint64_t start, int wordBits);
double ExpectedMissingWords(int wordBits);
double MissingWordsSigma(int wordBits);
// As many disjoint samples as the sequence holds, their z-scores summed and scaled to one.
double SparseOccupancyTest(const BitSequence& s);

// The i-th 32-bit word of the sequence, most significant bit first.
inline uint32_t Word32At(const BitSequence& s, uint64_t i) {
    return static_cast<uint32_t>(s.words[i >> 1] >> ((i & 1) ? 0 : 32));
}

// Gcd test: pairs of consecutive nonzero 32-bit words; gcd = j with probability 6 / (pi j)^2
// (Dirichlet; Knuth 4.5.2, Theorem D). Chi-square over the values 1, 2, ... pooled until
// each class expects 5, the rest one class.
inline constexpr uint64_t GcdMinPairs = 2000;
double GcdProbability(uint64_t j);
// counts[j - 1] pairs with gcd j for j < counts.size(), the last entry the rest.
std::vector<uint64_t> GcdCounts(const BitSequence& s, uint64_t pairs, size_t classes);
double GcdTest(const BitSequence& s);

// Birthday spacings (Knuth 3.3.2 J; Marsaglia and Tsang) with all 32 bits: 8192 birthdays,
// consecutive 32-bit words, in a year of 2^32 days. R, the number of equal spacings (cyclic
// spacings of the sorted birthdays, R = 8192 - distinct spacings), is nearly Poisson with
// mean ExpectedEqualSpacings(), about 8192^3 / 2^34 = 32. Over the k samples a sequence holds
// the sum is Poisson with k times that mean; upper tail, randomized within the observed count
// (P(X > R) + U P(X = R)), so that the p-values are continuous and uniform, not steps of 0.035.
inline constexpr uint64_t Birthdays = 8192;
inline constexpr uint64_t BirthdayMinSamples = 4;
// Pairs of equal spacings, m (m - 1)^2 / (4n), less one for each value that three spacings
// share, m (m - 1)^2 (m - 2)^2 / (18 n^2): the spacings' joint density on the circle
// integrated along its diagonal.
double ExpectedEqualSpacings();
uint64_t EqualSpacings(std::vector<uint32_t> birthdays);
// P(X > observed) + fraction * P(X = observed) for X Poisson with the given mean.
double PoissonUpperP(double mean, uint64_t observed, double fraction);
// U for the randomized p-value: the first `words` 64-bit words hashed (splitmix64) to a number
// in [0, 1). Practically independent of the count on random bits, and the same on every run.
double BitsFraction(const BitSequence& s, uint64_t words);
double BirthdaySpacingsTest(const BitSequence& s);

} // namespace zentrope
