// The chi-square statistic of counts against equally likely classes, shared by the tests that
// count patterns or orderings.
#pragma once

#include <cstdint>
#include <vector>

namespace zentrope {

// Sum over the classes of (count - expected)^2 / expected, each class expecting
// total / counts.size(); total must be above 0.
double UniformChiSquare(const std::vector<uint64_t>& counts, uint64_t total);

} // namespace zentrope
