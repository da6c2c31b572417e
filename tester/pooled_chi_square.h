// Shared by the tests that count independent segments (runs, coupon collector segments) whose
// lengths fall into classes of very unequal probability.
#pragma once

#include <cstdint>
#include <vector>

namespace zentrope {

// How many segments of the given mean and standard deviation to look for within `budget`
// blocks: their total stays 8 standard deviations below the budget, so a random sequence
// runs out with a chance of about 1e-15.
uint64_t SegmentCountWithin(double budget, double mean, double sd);

// Chi-square p-value of `total` observations in classes of the given probabilities (the last
// class takes what the others leave). Neighbouring classes are pooled, from the first on,
// until each expects at least 5; NoResult when fewer than two classes remain.
double PooledChiSquarePValue(const std::vector<uint64_t>& observed,
                             const std::vector<double>& probability);

} // namespace zentrope
