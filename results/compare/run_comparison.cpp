#include "results/compare/run_comparison.h"

#include "results/stats/pvalue_sample.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace zentrope {
namespace {

// One entry per distinct (name, occurrence), in the order first met.
std::vector<ComparedRow> MatchRows(std::span<const ComparedRun> runs) {
    std::vector<ComparedRow> matched;
    // name -> the matched entries of its 1st, 2nd... occurrence
    std::unordered_map<std::string_view, std::vector<size_t>> by_name;
    for (size_t r = 0; r < runs.size(); ++r) {
        std::unordered_map<std::string_view, size_t> seen; // occurrences in this run
        const ResultSet& results = *runs[r].results;
        for (int32_t i = 0; i < results.RowCount(); ++i) {
            const std::string_view name = results.Row(i).name;
            std::vector<size_t>& entries = by_name[name];
            const size_t occurrence = seen[name]++;
            if (occurrence == entries.size()) {
                entries.push_back(matched.size());
                matched.push_back({name, std::vector<int32_t>(runs.size(), -1), 0, 0, {}});
            }
            matched[entries[occurrence]].row_in_run[r] = i;
        }
    }
    return matched;
}

std::vector<double> NumbersOf(const ResultRow& row) {
    std::vector<double> numbers;
    for (size_t i = 0; i < row.pvalues.size(); ++i) {
        if (row.marks[i] == PValueMark::Number && IsPValue(row.pvalues[i]))
            numbers.push_back(row.pvalues[i]);
    }
    return numbers;
}

void Judge(std::span<const ComparedRun> runs, const FlagThresholds& thresholds,
           ComparedRow& compared) {
    std::vector<std::vector<double>> samples;
    for (size_t r = 0; r < runs.size(); ++r) {
        const std::optional<ResultRow> row = RowOfRun(runs, compared, r);
        if (!row)
            continue;
        ++compared.present;
        compared.flagged += FlagsOf(*row, thresholds).Any();
        samples.push_back(NumbersOf(*row));
    }
    compared.test = KSampleAndersonDarling(samples);
}

bool Worse(const ComparedRow& a, const ComparedRow& b) {
    const double pa = a.test.p_value;
    const double pb = b.test.p_value;
    if (std::isnan(pa) != std::isnan(pb))
        return std::isnan(pb);
    if (!std::isnan(pa) && pa != pb)
        return pa < pb;
    return a.flagged > b.flagged;
}

} // namespace

std::vector<ComparedRow> CompareRuns(std::span<const ComparedRun> runs,
                                     const FlagThresholds& thresholds) {
    std::vector<ComparedRow> rows = MatchRows(runs);
    for (ComparedRow& row : rows)
        Judge(runs, thresholds, row);
    std::stable_sort(rows.begin(), rows.end(), Worse);
    return rows;
}

std::optional<ResultRow> RowOfRun(std::span<const ComparedRun> runs, const ComparedRow& row,
                                  size_t run) {
    if (run >= runs.size() || run >= row.row_in_run.size() || row.row_in_run[run] < 0)
        return std::nullopt;
    return runs[run].results->Row(row.row_in_run[run]);
}

} // namespace zentrope
