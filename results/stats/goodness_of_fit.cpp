#include "results/stats/goodness_of_fit.h"

#include <algorithm>
#include <cmath>

namespace zentrope {
void SortPValues(double* values, int32_t n) {
    if (n < 2)
        return;
    // NaN has no order: it goes after every number, which keeps the comparison of the
    // numbers a strict weak order.
    double* const numbers_end =
        std::partition(values, values + n, [](double v) { return !std::isnan(v); });
    std::sort(values, numbers_end);
}

SortRoom::SortRoom(int32_t n)
    : values(static_cast<size_t>(std::max(n, 0))), ends(static_cast<size_t>(std::max(n, 0))) {}

namespace {

// Beyond this many values a bucket is sorted the ordinary way.
constexpr int32_t LongestInsertionSort = 16;

// Insertion sort of from[0 .. n) into to, which may be from itself.
void InsertionSortFrom(const double* from, int32_t n, double* to) {
    for (int32_t i = 0; i < n; ++i) {
        const double v = from[i];
        int32_t at = i;
        for (; at > 0 && v < to[at - 1]; --at)
            to[at] = to[at - 1];
        to[at] = v;
    }
}

void SortBucket(double* first, double* last) {
    if (last - first > LongestInsertionSort) {
        std::sort(first, last);
        return;
    }
    InsertionSortFrom(first, static_cast<int32_t>(last - first), first);
}

} // namespace

void SortPValuesWithRoom(double* values, int32_t n, SortRoom& room) {
    const bool all_in_range =
        std::all_of(values, values + n, [](double v) { return v >= 0.0 && v <= 1.0; });
    if (n < 2 || static_cast<size_t>(n) > room.values.size() || !all_in_range) {
        SortPValues(values, n);
        return;
    }
    // Bucket b takes the values with floor(v n) = b (1 joins the last): rounding keeps v n
    // in the order of v, so the buckets are in order and only their insides need sorting.
    const auto bucket = [n](double v) {
        return static_cast<size_t>(std::min(static_cast<int32_t>(v * n), n - 1));
    };
    int32_t* const ends = room.ends.data();
    std::fill(ends, ends + n, 0);
    for (int32_t i = 0; i < n; ++i)
        ++ends[bucket(values[i])];
    int32_t fullest = 0;
    for (int32_t b = 0, total = 0; b < n; ++b) {
        fullest = std::max(fullest, ends[b]);
        total += ends[b];
        ends[b] = total;
    }
    double* const scattered = room.values.data();
    for (int32_t i = n - 1; i >= 0; --i)
        scattered[--ends[bucket(values[i])]] = values[i];
    // ends[b] is now where bucket b starts.
    if (fullest <= LongestInsertionSort) {
        // A value never passes the start of its bucket, whose values are all larger than those
        // of the buckets before it, so one insertion pass over the whole row sorts it as
        // sorting each bucket would.
        InsertionSortFrom(scattered, n, values);
        return;
    }
    std::copy(scattered, scattered + n, values);
    for (int32_t b = 0; b < n; ++b)
        SortBucket(values + ends[b], values + (b + 1 < n ? ends[b + 1] : n));
}

double KolmogorovQ(double lambda) {
    if (!(lambda >= 0.2))
        return 1.0;
    const double a = -2.0 * lambda * lambda;
    double s = 0;
    // Ends by j = 16 for lambda >= 0.2; the first term below 1e-8 is still added.
    for (int32_t j = 1;; ++j) {
        const double t = std::exp(a * (j * j));
        s = t - s;
        if (t < 1e-8)
            break;
    }
    return 2.0 * std::fabs(s);
}

KsDistance KsDistanceOf(const double* sorted, int32_t n) {
    KsDistance distance;
    double below = 0; // (i - 1) / n
    for (int32_t i = 1; i <= n; ++i) {
        const double above = static_cast<double>(i) / n;
        const double d =
            std::max(std::fabs(below - sorted[i - 1]), std::fabs(above - sorted[i - 1]));
        if (d > distance.d)
            distance = {d, i - 1};
        below = above;
    }
    return distance;
}

double KsPValue(const double* sorted, int32_t n) {
    const double r = std::sqrt(static_cast<double>(n));
    return KolmogorovQ((r + 0.12 + 0.11 / r) * KsDistanceOf(sorted, n).d);
}

double AdStatistic(const double* sorted, int32_t n) {
    double s = -static_cast<double>(n) * n;
    for (int32_t i = 0; i < n; ++i) {
        double p = sorted[i] * (1.0 - sorted[n - 1 - i]);
        // A value of exactly 0 or 1 would give log(0); the floor keeps A large but finite.
        if (!(p >= 1e-20))
            p = 1e-20;
        s -= (2.0 * i + 1.0) * std::log(p);
    }
    return s / n;
}

double AdPValueOfStatistic(double a) {
    if (!(a >= 0.01))
        return 1.0;
    if (a <= 2)
        return 1.0 - 2.0 * std::exp(-1.2337 / a) * (1.0 + a / 8.0 - 0.04958 * a * a / (a + 1.325)) /
                         std::sqrt(a);
    if (a <= 4)
        return 0.6621361 * std::exp(-1.091638 * a) + 0.95059 * std::exp(-2.005138 * a);
    return 0.4938691 * std::exp(-1.050321 * a) + 0.5946335 * std::exp(-1.527198 * a);
}

double AdPValue(const double* sorted, int32_t n) {
    return AdPValueOfStatistic(AdStatistic(sorted, n));
}

double SlPercent(const double* sorted, int32_t n) {
    double deviation = 0;
    double line = 0;
    for (int32_t i = 0; i < n; ++i) {
        const double u = static_cast<double>(i) / (n - 1);
        deviation += (u - sorted[i]) * (u - sorted[i]);
        line += u * u;
    }
    return 100.0 * deviation / line;
}

} // namespace zentrope
