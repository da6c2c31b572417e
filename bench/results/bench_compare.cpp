// Times the comparison of 10 runs of 2,000 rows x 100 sequences once their results are read:
// matching the rows by name, counting flags and a k-sample Anderson-Darling test per row, and
// the table of texts that is shown and exported.
// The runs list their rows in different orders and each lacks a few, as real runs may.
#include "bench/results/best_time.h"
#include "results/compare/comparison_table.h"
#include "results/stats/goodness_of_fit.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

using namespace zentrope;

namespace {

constexpr int32_t Runs = 10;
constexpr int32_t Rows = 2000;
constexpr int32_t Sequences = 100;

struct RunData {
    std::vector<std::string> names; // the set holds views of them
    ResultSet results;
};

RunData MakeRun(std::mt19937_64& random, int32_t run) {
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    RunData data;
    for (int32_t i = 0; i < Rows; ++i) {
        if ((i + run) % 97 != 0) // a few rows this run lacks
            data.names.push_back("Test " + std::to_string(i));
    }
    std::shuffle(data.names.begin(), data.names.end(), random);
    const auto rows = static_cast<int32_t>(data.names.size());
    data.results = ResultSet(rows, Sequences);
    std::vector<double> sorted(Sequences);
    for (int32_t row = 0; row < rows; ++row) {
        data.results.SetName(row, data.names[size_t(row)]);
        for (int32_t s = 0; s < Sequences; ++s) {
            sorted[size_t(s)] = uniform(random);
            data.results.SetPValue(row, s, sorted[size_t(s)], PValueMark::Number);
        }
        SortPValues(sorted.data(), Sequences);
        data.results.SetFigures(row, Sequences,
                                RowFigures{KsPValue(sorted.data(), Sequences),
                                           AdPValue(sorted.data(), Sequences),
                                           SlPercent(sorted.data(), Sequences)});
    }
    return data;
}

} // namespace

int main() {
    std::mt19937_64 random(14);
    std::vector<RunData> data;
    data.reserve(Runs);
    std::vector<ComparedRun> runs;
    for (int32_t r = 0; r < Runs; ++r)
        data.push_back(MakeRun(random, r));
    for (const RunData& run : data)
        runs.push_back({"run", &run.results});
    size_t comparedRows = 0;
    const Timing timing = BestTime(
        [] {},
        [&] {
            comparedRows =
                MakeComparisonTable(runs, CompareRuns(runs, {0.0005, 0.0, 100.0}), 7).rows.size();
        });
    std::printf("compare %d runs of %d rows x %d sequences (%zu rows compared): "
                "%.3f s wall, %.3f s cpu (target under 1 s)\n",
                Runs, Rows, Sequences, comparedRows, timing.wall, timing.cpu);
    return 0;
}
