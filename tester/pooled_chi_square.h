// Shared by the tests that count independent segments (runs, coupon collector segments) whose
// lengths fall into classes of very unequal probability.
#pragma once

#include <cstdint>
#include <vector>

namespace zentrope {

// Mean and standard deviation of a segment's length in blocks.
struct SegmentMoments {
    double mean = 0;
    double sd = 0;
};

// How many segments to look for within `budget` blocks: their total stays 8 standard
// deviations below the budget, so a random sequence runs out with a chance of about 1e-15.
uint64_t SegmentCountWithin(uint64_t budget, const SegmentMoments& m);
// The fewest blocks in which SegmentCountWithin looks for `count` segments.
uint64_t BlocksForSegments(uint64_t count, const SegmentMoments& m);
// The chance that a random sequence completes no more than `found` segments within `budget`
// blocks: the normal tail of the total length of found + 1 segments beyond the budget. A
// sequence that runs out before its segment count is rejected with this p-value.
double RunOutPValue(uint64_t budget, uint64_t found, const SegmentMoments& m);

// Chi-square p-value of `total` observations in classes of the given probabilities (the last
// class takes what the others leave). Neighbouring classes are pooled, from the first on,
// until each expects at least `fewestExpected`; NoResult when fewer than two classes remain.
double PooledChiSquarePValue(const std::vector<uint64_t>& observed,
                             const std::vector<double>& probability, double fewestExpected = 5);

} // namespace zentrope
