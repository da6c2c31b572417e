// Longest run of ones within blocks (NIST SP 800-22, section 2.4) for any block length: the
// longest run of each block of M bits, counted by length, chi-square against the exact
// distribution (a Markov chain over the current run length, raised to the M-th power).
#pragma once

#include "tester/bit_sequence.h"

#include <cstdint>
#include <vector>

namespace zentrope {

// Blocks a line needs, so that the pooled classes keep enough counts.
inline constexpr uint64_t LongestRunMinBlocks = 64;

// P(longest run of ones < r) in m random bits.
double NoRunOfLength(uint64_t m, int r);
// P(longest run = 0), P(= 1), ... while the rest is above 1e-10; a class for the rest
// follows implicitly.
std::vector<double> LongestRunProbabilities(uint64_t m);
int LongestRunOfOnes(const BitSequence& s, uint64_t start, uint64_t length);
double LongestRunTest(const BitSequence& s, uint64_t blockBits);

} // namespace zentrope
