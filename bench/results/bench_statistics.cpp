// Times the statistics behind a row's detail figures and the comparison of runs: the
// figures of one row of 1,000 p-values (typical, failing, and the slowest case of the exact
// KS p-value), the exact KS p-value for 10,000 values, the multiple-testing adjustments over
// 2,000 rows, and k-sample Anderson-Darling tests for 10 runs of 2,000 rows x 100 sequences.
#include "bench/results/best_time.h"
#include "results/stats/exact_ks.h"
#include "results/stats/goodness_of_fit.h"
#include "results/stats/k_sample_ad.h"
#include "results/stats/multiple_testing.h"
#include "results/stats/pvalue_sample.h"
#include "results/stats/uniformity.h"

#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

using namespace zentrope;

namespace {

double sink = 0; // keeps the work from being optimised away

std::vector<double> UniformRow(std::mt19937_64& random, int32_t n, double power) {
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    std::vector<double> row(n);
    for (double& p : row)
        p = std::pow(uniform(random), power);
    return row;
}

// Every figure of the detail view of one row.
void RowFigures(const std::vector<double>& row) {
    const PValueSample sample = SamplePValues(row);
    const int32_t n = sample.Count();
    const KsDistance distance = KsDistanceOf(sample.sorted.data(), n);
    const UniformityTest uniformity = PValueUniformity(sample.sorted);
    const PassProportion pass = ProportionPassing(sample.sorted, 0.01);
    sink += KsExactPValue(n, distance.d) + AdStatistic(sample.sorted.data(), n) +
            uniformity.pValue + pass.low + DkwHalfWidth(n, 0.01) + SmallestOf(row).p;
}

void PrintRow(const char* what, const std::vector<double>& row) {
    const Timing t = BestTime([] {}, [&] { RowFigures(row); }, 5);
    const PValueSample sample = SamplePValues(row);
    const double d = KsDistanceOf(sample.sorted.data(), sample.Count()).d;
    std::printf("%-44s %8.3f ms wall, %8.3f ms processor (D = %.4f)\n", what, t.wall * 1e3,
                t.cpu * 1e3, d);
}

void PrintExactKs(int32_t n, double d) {
    double p = 0;
    const Timing t = BestTime([] {}, [&] { p = KsExactPValue(n, d); }, 3);
    std::printf("exact KS p-value, n = %5d, n d^2 = %5.2f:      %8.3f ms wall, %8.3f ms "
                "processor (p = %.3g)\n",
                n, n * d * d, t.wall * 1e3, t.cpu * 1e3, p);
}

} // namespace

int main() {
    std::mt19937_64 random(20261207);
    std::printf("One row of 1,000 p-values, every detail figure (target < 50 ms):\n");
    std::vector<double> typical = UniformRow(random, 1000, 1.0);
    typical[17] = -1.0;
    PrintRow("  uniform values", typical);
    PrintRow("  failing row (values skewed towards 0)", UniformRow(random, 1000, 1.3));
    PrintExactKs(1000, std::sqrt(3.99 / 1000)); // the largest matrix used at n = 1,000
    PrintExactKs(10000, 0.83 / 100);            // a typical distance
    PrintExactKs(10000, std::sqrt(3.99 / 10000));

    std::vector<double> rowPvalues = UniformRow(random, 2000, 1.0);
    const Timing adjust = BestTime(
        [] {},
        [&] { sink += HolmAdjusted(rowPvalues)[0] + BenjaminiYekutieliQValues(rowPvalues)[0]; });
    std::printf("Holm and Benjamini-Yekutieli over 2,000 rows: %8.3f ms wall, %8.3f ms processor\n",
                adjust.wall * 1e3, adjust.cpu * 1e3);

    constexpr int32_t Runs = 10, Rows = 2000, Sequences = 100;
    std::vector<std::vector<std::vector<double>>> rows(Rows);
    for (auto& runs : rows)
        for (int32_t r = 0; r < Runs; ++r)
            runs.push_back(UniformRow(random, Sequences, 1.0));
    const Timing compare = BestTime([] {},
                                    [&] {
                                        for (const auto& runs : rows)
                                            sink += KSampleAndersonDarling(runs).pValue;
                                    });
    const Timing pairs =
        BestTime([] {},
                 [&] {
                     for (const auto& runs : rows)
                         sink += KSampleAndersonDarling(std::span(runs).first(2)).pValue;
                 });
    std::printf("k-sample AD, %d runs x %d rows x %d sequences: %.3f s wall, %.3f s processor "
                "(target < 1 s)\n",
                Runs, Rows, Sequences, compare.wall, compare.cpu);
    std::printf("two-sample AD, 2 runs x %d rows x %d sequences: %.3f s wall, %.3f s processor\n",
                Rows, Sequences, pairs.wall, pairs.cpu);
    return sink == 12345.0 ? 1 : 0;
}
