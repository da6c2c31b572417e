#include "result_loader.h"

#include "result_loader_steps.h"

#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>
#include <stdexcept>

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

// Empty when the path names no readable file (a directory opens, but reads nothing).
std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    const uintmax_t size = std::filesystem::file_size(path, error);
    if (error) // not a regular file: read it to its end
        return ReadAll(in);
    std::string bytes(static_cast<size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    bytes.resize(static_cast<size_t>(in.gcount()));
    if (in)
        bytes += ReadAll(in); // whatever was added since the size was taken
    return bytes;
}

} // namespace

ResultLoadOutcome LoadResultStream(std::istream& in, const ResultLoadOptions& options,
                                   ResultGrid& grid) {
    return LoadResultText(ReadAll(in), options, grid);
}

ResultLoadOutcome LoadResultFile(const std::string& path, const ResultLoadOptions& options,
                                 ResultGrid& grid, const ResultMessageSink& report) {
    const auto tell = [&report](const std::string& message) {
        if (report)
            report(message);
        return ResultLoadOutcome{};
    };
    std::optional<std::string> bytes;
    try {
        bytes = ReadWholeFile(path);
    } catch (const std::bad_alloc&) {
        return tell("The result file is too large to be loaded.");
    } catch (const std::length_error&) {
        return tell("The result file is too large to be loaded.");
    }
    if (!bytes)
        return tell("The result file can't be opened.");
    try {
        return LoadResultText(std::move(*bytes), options, grid);
    } catch (const std::bad_alloc&) {
        grid.ClearBody(); // no half-built table
        return tell("The result file is too large to be loaded.");
    }
}

} // namespace zentrope
