// The statistical tests. Each returns a p-value in [0, 1] from the published method, or
// NoResult when the bits do not allow the test (the run writes -1 then). How many bits a
// test needs to be valid is decided by the caller (test_plan.h); these functions only refuse
// what cannot be computed at all.
#pragma once

#include "tester/bit_sequence.h"
#include "tester/pooled_chi_square.h"

#include <cstdint>
#include <vector>

namespace zentrope {

inline constexpr double NoResult = -1.0;

// Cumulative sums, forward mode: the largest excursion of the +-1 random walk.
uint64_t CusumMaxExcursion(const BitSequence& s);
double CusumPValue(uint64_t n, uint64_t z);
double CumulativeSumTest(const BitSequence& s);

// Frequency within blocks of m bits: chi-square with n/m degrees of freedom.
double BlockFrequencyTest(const BitSequence& s, uint64_t m);

// Serial test: psi-square of overlapping m-bit patterns (cyclic), for m, m-1 and m-2.
struct SerialStatistics {
    double psiM = 0;
    double psiM1 = 0;
    double psiM2 = 0;
};
SerialStatistics SerialPsi(const BitSequence& s, int m);
// The first p-value (first difference, 2^(m-1) degrees of freedom) and the second (second
// difference, 2^(m-2)); the second needs m >= 2.
double SerialFirstPValue(const SerialStatistics& st, int m);
double SerialSecondPValue(const SerialStatistics& st, int m);
double SerialTest(const BitSequence& s, int m);

// Binary matrix rank over GF(2) of at most 8 rows of at most 8 bits packed into one word,
// row r in bits r * cols to r * cols + cols - 1.
int SmallRank(uint64_t packedRows, int rows, int cols);
// Probability that a random rows x cols binary matrix has rank r.
double RankProbability(int rows, int cols, int r);
// Chi-square over the classes full rank, full rank - 1 and lower, 2 degrees of freedom.
double RankClassPValue(const std::vector<uint64_t>& classCounts, int rows, int cols);
// Matrices of at most 32 x 32 (NoResult beyond) filled row by row from consecutive bits.
double MatrixRankTest(const BitSequence& s, int rows, int cols);
// 6 x 8 matrices: the rows are 8 bits, starting `byteOrder` bits (0 to 24) from the top, of
// six consecutive 32-bit words.
double Rank6x8Test(const BitSequence& s, int byteOrder);

// Spectral test on the first `length` bits: the share of Fourier moduli under the 95%
// threshold.
uint64_t DftPeaksBelowThreshold(const BitSequence& s, uint64_t length);
double DftPValue(uint64_t length, uint64_t below);
double DftTest(const BitSequence& s, uint64_t length);

// Chi-square of s-bit blocks whose bits lie `distance` bits apart (distance 1: adjacent).
double ShortBlocksTest(const BitSequence& s, int blockBits, uint64_t distance);
uint64_t ShortBlockCount(uint64_t n, int blockBits, uint64_t distance);

// Autocorrelation of s-bit block values at a lag of `distance` blocks, as a normal statistic.
double WindowedAutocorrelationZ(const BitSequence& s, uint64_t distance, int blockBits);
double WindowedAutocorrelationTest(const BitSequence& s, uint64_t distance, int blockBits);

// Non-overlapping template matching: matches of an aperiodic m-bit template counted in each
// of `blocks` equal blocks, chi-square against the expected count.
bool IsAperiodicTemplate(uint32_t pattern, int m);
// The first `limit` aperiodic templates of m bits in ascending order.
std::vector<uint32_t> AperiodicTemplates(int m, size_t limit);
std::vector<uint64_t> TemplateMatchesPerBlock(const BitSequence& s, uint32_t pattern, int m,
                                              uint64_t blocks);
double NonOverlappingTemplateTest(const BitSequence& s, uint32_t pattern, int m, uint64_t blocks);

// Coupon collector: the lengths of consecutive segments of s-bit values that each hold all
// d = 2^s values, pooled into classes of at least 5 expected, chi-square against the exact
// length distribution. The number of segments is fixed from the bits available so that a random
// sequence holds them but with a chance of about 1e-15; a sequence that runs out is rejected with
// that chance (RunOutPValue).
SegmentMoments CouponMoments(uint64_t d);
// Probabilities of the lengths d, d + 1, ... until the rest is at most `tail`.
std::vector<double> CouponLengthProbabilities(uint64_t d, double tail);
// Lengths in blocks of the first `count` segments, each the shortest stretch of s-bit values
// holding all 2^s of them; fewer when the bits end first.
std::vector<uint64_t> CouponSegmentLengths(const BitSequence& s, int blockBits, uint64_t count);
double CouponCollectorTest(const BitSequence& s, int blockBits);

// Runs up of s-bit values, the value that ends a run skipped so that runs are independent
// (Knuth); lengths 1 to longest - 1 and longest or more, against the exact probabilities for
// values with ties: a run is at least k long with probability C(2^s, k) / 2^(s k).
double RunAtLeast(int blockBits, int k);
SegmentMoments RunMoments(int blockBits); // in blocks, the skipped value included
// Runs counted by length class (index length - 1, the last class longest and more) over the
// first `runs` runs; fewer in all when the bits end first (the test then rejects with
// RunOutPValue).
std::vector<uint64_t> RunLengthCounts(const BitSequence& s, int blockBits, int longest,
                                      uint64_t runs);
double RunsUpTest(const BitSequence& s, int blockBits, int longest);

// Collision test (Knuth): the s-bit blocks of the sequence, at most 2^s of them and at most
// the first count (from sqrt(2 MaxExpectedCollisions 2^s) up in steps of 0.1 %) that expects
// MaxExpectedCollisions or more, thrown into 2^s urns; the number of balls that land in a
// taken urn against its exact distribution, two-sided mid-p.
// The exact distribution takes work in proportion to the balls times the count's spread; the
// cap keeps it under a second for every block size while the count stays fine-grained.
inline constexpr double MaxExpectedCollisions = 4096;
uint64_t CollisionBalls(uint64_t bits, int urnBits);
double ExpectedCollisions(uint64_t balls, int urnBits);
// P(collisions = c) for c = 0, 1, ... up to where the rest is negligible.
std::vector<double> CollisionDistribution(uint64_t balls, int urnBits);
// Collisions among the first `balls` blocks.
uint64_t CountCollisions(const BitSequence& s, int urnBits, uint64_t balls);
// Memory the count takes for that many balls.
uint64_t CollisionWorkingBytes(int urnBits, uint64_t balls);
double CollisionTest(const BitSequence& s, int urnBits);

// Permutation test (Knuth) on groups of t s-bit values: the relative order of each group whose
// values are all different is one of t! equally likely orderings (values are exchangeable);
// groups with equal values are left out. Chi-square with t! - 1 degrees of freedom.
inline constexpr int MaxPermutationGroup = 10;
uint64_t Factorial(int t);
// The chance that a group of t s-bit values holds no equal values.
double DistinctGroupProbability(int blockBits, int groupSize);
// Fewer groups without equal values than this many standard deviations below their expected
// number reject the sequence (with the binomial chance of so few).
inline constexpr double DistinctShortfallSds = 8;
// 0 to t! - 1 for the ordering of the group's values; -1 when two are equal.
int64_t OrderingIndex(const std::vector<uint64_t>& group);
// Groups of each ordering (index as OrderingIndex numbers it), then groups with equal values.
std::vector<uint64_t> PermutationCounts(const BitSequence& s, int blockBits, int groupSize);
double PermutationTest(const BitSequence& s, int blockBits, int groupSize);

// Maurer's universal test: L-bit blocks, the first q of them initialise the table.
struct MaurerStatistic {
    double fn = 0;
    uint64_t k = 0; // test blocks
};
MaurerStatistic MaurerFn(const BitSequence& s, int L, uint64_t q);
// The variance of fn over K test blocks of a random sequence is (d + e 2^L / K) variance / K
// (Coron and Naccache, "An accurate evaluation of Maurer's universal test", SAC 1998): the
// variance of one log-distance and the factors of its covariances, computed exactly for L.
struct MaurerVarianceFactors {
    double variance = 0;
    double d = 0;
    double e = 0;
};
MaurerVarianceFactors VarianceFactors(int L);
// Bytes VarianceFactors takes while it computes them for L.
inline uint64_t VarianceFactorsBytes(int L) {
    return uint64_t{16} * 41 * (uint64_t{1} << L);
}
double MaurerPValue(double fn, int L, uint64_t k);
double MaurerTest(const BitSequence& s, int L, uint64_t q);
inline constexpr int MaurerMaxL = 16;
// Blocks of 6 to 16 bits, as the published test recommends.
inline constexpr int MaurerMinL = 6;

} // namespace zentrope
