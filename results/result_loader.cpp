#include "result_loader.h"

#include "result_loader_steps.h"

#include <fstream>
#include <sstream>

namespace zentrope {
namespace {

ResultLoadOutcome LoadResultText(std::string&& bytes, const ResultLoadOptions& options,
                                 ResultGrid& grid) {
    // Whatever an earlier, larger file left must not show through.
    grid.ClearBody();
    const CellText file = grid.AdoptFileText(std::move(bytes));
    const int32_t last_sequence_column =
        ReadResultSections(grid.FileText(), file, options.format, grid);
    return ResultLoadOutcome{true, SummariseResultRows(last_sequence_column, options, grid)};
}

std::string ReadAll(std::istream& in) {
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

// One read of the known size where the stream can tell it, else piece by piece.
std::string ReadFile(std::ifstream& in) {
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size < 0 || !in) {
        in.clear();
        return ReadAll(in);
    }
    std::string bytes(static_cast<size_t>(size), '\0');
    in.read(bytes.data(), size);
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

} // namespace

ResultLoadOutcome LoadResultStream(std::istream& in, const ResultLoadOptions& options,
                                   ResultGrid& grid) {
    return LoadResultText(ReadAll(in), options, grid);
}

ResultLoadOutcome LoadResultFile(const std::string& path, const ResultLoadOptions& options,
                                 ResultGrid& grid, const ResultMessageSink& report) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (report)
            report("The result file can't be opened.");
        return ResultLoadOutcome{};
    }
    return LoadResultText(ReadFile(in), options, grid);
}

} // namespace zentrope
