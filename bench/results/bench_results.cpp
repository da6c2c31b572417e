// Loads a run of 2,000 tests by 1,000 sequences into the result grid, with every KS, AD and
// SL figure, and sorts it by a summary column; prints the time of each and the memory used.
// Times are the best of a few rounds, wall clock and processor time, since the machine may
// be shared.
#include "bench/results/best_time.h"
#include "bench/results/result_file_generator.h"
#include "results/verdict/figures_csv.h"
#include "results/grid/result_loader.h"
#include "results/grid/table_sort.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

using namespace zentrope;

namespace {

// Resident memory now, from /proc (Linux).
double ResidentMB() {
    std::ifstream statm("/proc/self/statm");
    long pagesTotal = 0, pagesResident = 0;
    statm >> pagesTotal >> pagesResident;
    return static_cast<double>(pagesResident) * 4096.0 / 1e6;
}

// The machine's load average over the last minute, from /proc (Linux): other work on a shared
// machine stretches the wall clock times.
double LoadAverage() {
    std::ifstream loadavg("/proc/loadavg");
    double oneMinute = -1;
    loadavg >> oneMinute;
    return oneMinute;
}

} // namespace

int main() {
    const ResultFileShape shape;
    const auto path = std::filesystem::temp_directory_path() / "zentrope_bench_results.txt";
    WriteResultFile(path, shape);
    std::printf("file: %d tests x %d sequences, %.1f MB\n", shape.tests, shape.sequences,
                static_cast<double>(std::filesystem::file_size(path)) / 1e6);

    ResultLoadOptions options;
    options.sortSl = true;
    ResultGrid grid;
    ResultLoadOutcome outcome;
    const auto report = [](const std::string& m) { std::cerr << m << "\n"; };
    const double residentBefore = ResidentMB();
    const Timing load =
        BestTime([&grid] { grid = ResultGrid(); },
                 [&] { outcome = LoadResultFile(path.string(), options, grid, report); });
    std::filesystem::remove(path);
    if (!outcome.loaded || !outcome.sortRequest)
        return 1;
    std::printf("load and figures: %.3f s wall, %.3f s processor (target <= 0.1 s wall); %d rows "
                "x %d columns\n",
                load.wall, load.cpu, grid.RowCount(), grid.ColumnCount());
    std::printf("resident memory of the loaded grid: %.1f MB\n", ResidentMB() - residentBefore);
    std::printf("machine load average (1 minute): %.2f\n", LoadAverage());

    const SortDecision bySl = DecideMarkerSort(SortState{}, *outcome.sortRequest);
    const Timing sort = BestTime([&grid] { ApplySort(grid, DecideHeaderSort(SortState{}, 0)); },
                                 [&] { ApplySort(grid, bySl); });
    std::printf("sort by SL: %.4f s wall, %.4f s processor (target < 0.1 s)\n", sort.wall,
                sort.cpu);
    std::printf("worst row: %s, SL %s\n", std::string(grid.Cell(1, 1)).c_str(),
                std::string(grid.Cell(bySl.column, 1)).c_str());

    // Export figures as CSV runs on the window's thread: every row's exact KS p.
    size_t csvBytes = 0;
    const Timing figures =
        BestTime([] {}, [&] { csvBytes = FiguresCsv(grid, {}, 0.01, {}).size(); }, 1);
    std::printf("figures CSV: %.3f s wall, %.3f s processor, %.1f MB\n", figures.wall, figures.cpu,
                double(csvBytes) / 1e6);
    return 0;
}
