// Goodness-of-fit figures of one table row's p-values against the uniform distribution
// on [0, 1]. Pure arithmetic; nothing here allocates but SortRoom.
#pragma once

#include <cstdint>
#include <vector>

namespace zentrope {

// Ascending, in place.
void SortPValues(double* values, int32_t n);
// Scratch space for SortPValuesWithRoom of up to n values.
struct SortRoom {
    explicit SortRoom(int32_t n);
    std::vector<double> values;
    std::vector<int32_t> ends;
};
// The same order, quicker for long rows of values within [0, 1]: a bucket sort, each value
// going to the bucket of floor(v n), which for p-values of a sound generator leaves about one
// value per bucket. Rows with other values, or longer than the room, are sorted by SortPValues.
void SortPValuesWithRoom(double* values, int32_t n, SortRoom& room);

// Kolmogorov tail probability 2 * sum (-1)^(j-1) exp(-2 j^2 lambda^2); 1 below 0.2.
double KolmogorovQ(double lambda);

// The following read an ascending array (SortPValues first) and need n >= 1 (SL: n >= 2).
// The Kolmogorov-Smirnov distance D from the uniform distribution and the index of the
// first value where it occurs; KsPValue is the tail of D.
struct KsDistance {
    double d = 0;
    int32_t at = 0;
};
KsDistance KsDistanceOf(const double* sorted, int32_t n);
double KsPValue(const double* sorted, int32_t n);
double AdPValue(const double* sorted, int32_t n);
// The two halves of AdPValue: the statistic A^2 (each product floored at 1e-20) and its
// p-value from the piecewise approximation.
double AdStatistic(const double* sorted, int32_t n);
double AdPValueOfStatistic(double a);
// Squared deviation from the even line 0 .. 1, relative to the line, in percent.
double SlPercent(const double* sorted, int32_t n);

} // namespace zentrope
