#include "tester/uniform_chi_square.h"

namespace zentrope {

double UniformChiSquare(const std::vector<uint64_t>& counts, uint64_t total) {
    const double expected = static_cast<double>(total) / static_cast<double>(counts.size());
    double sum = 0;
    for (uint64_t c : counts) {
        const double d = static_cast<double>(c) - expected;
        sum += d * d;
    }
    return sum / expected;
}

} // namespace zentrope
