#include "results/compare/compare_files.h"

#include "results/compare/parameter_differences.h"

#include <fstream>
#include <iterator>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>

namespace zentrope {
namespace {

std::optional<std::string> ReadText(const std::string& path) {
    if (path.empty())
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Null when the file cannot be read or held in memory.
std::unique_ptr<ResultGrid> ReadResults(const std::string& path, const ResultLoadOptions& options) {
    auto grid = std::make_unique<ResultGrid>();
    try {
        std::shared_ptr<const std::string> bytes = ReadResultBytes(path);
        if (!bytes || !LoadResultBytes(std::move(bytes), options, *grid, {}).loaded)
            return nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    } catch (const std::length_error&) {
        return nullptr;
    }
    return grid;
}

} // namespace

FilesComparison CompareResultFiles(std::span<const ComparedFile> files,
                                   const ResultLoadOptions& options,
                                   const FlagThresholds& thresholds,
                                   const std::function<void(size_t read)>& progress) {
    FilesComparison outcome;
    std::vector<std::unique_ptr<ResultGrid>> grids; // the runs' names are views into them
    std::vector<ComparedRun> runs;
    std::vector<ComparedParameters> parameters;
    for (const ComparedFile& file : files) {
        std::unique_ptr<ResultGrid> grid = ReadResults(file.result_path, options);
        if (grid) {
            runs.push_back({file.label, &grid->Results()});
            grids.push_back(std::move(grid));
            parameters.push_back({file.label, ReadText(file.parameter_path)});
        } else {
            outcome.unread.push_back(file.label);
        }
        if (progress)
            progress(grids.size() + outcome.unread.size());
    }
    if (runs.size() < 2)
        return outcome;
    outcome.table = MakeComparisonTable(runs, CompareRuns(runs, thresholds), options.pval_digits);
    outcome.parameters = ParameterDifferences(parameters);
    return outcome;
}

} // namespace zentrope
