// The usable p-values of one table row. A row may hold -1 (the tester gave no result), NaN
// (a cell without a number) or, from a damaged file, numbers outside [0, 1]; the statistics
// take only numbers in [0, 1] and say how many were left out.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace zentrope {

// A number in [0, 1].
bool IsPValue(double value);

struct PValueSample {
    std::vector<double> sorted; // the usable values, ascending
    int32_t no_result = 0;      // -1 or NaN
    int32_t out_of_range = 0;   // any other value outside [0, 1], infinities included
    int32_t Count() const { return static_cast<int32_t>(sorted.size()); }
    int32_t LeftOut() const { return no_result + out_of_range; }
};

PValueSample SamplePValues(std::span<const double> row);

struct SmallestPValue {
    int32_t index = -1; // position in the row; -1 when the row has no usable value
    double p = 0;
    double minus_log10 = 0; // infinite for p = 0
};

// The first of the smallest usable values.
SmallestPValue SmallestOf(std::span<const double> row);

// Half-width of the Dvoretzky-Kiefer-Wolfowitz band with Massart's constant: the empirical
// distribution of n values stays within it of the true one with probability at least
// 1 - alpha. NaN for n < 1 or alpha outside (0, 1).
double DkwHalfWidth(int32_t n, double alpha);

} // namespace zentrope
