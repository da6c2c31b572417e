// The chi-square of counts of equally likely short blocks, computed in integers where that
// gives the floating-point sum's exact bits: a sum of 65,536 squares in double precision, one
// after another, waits on each addition, and took as long as counting the blocks.
#pragma once

#include <cstdint>
#include <vector>

namespace zentrope {

// UniformChiSquare(counts, total), bit for bit, for counts.size() a power of two.
double BlockChiSquare(const std::vector<uint64_t>& counts, uint64_t total);

} // namespace zentrope
