#include "result_loader.h"

#include "result_loader_steps.h"

#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>
#include <stdexcept>

namespace zentrope {
namespace {

std::string_view FormatText(ResultLineFormat format) {
    return format == ResultLineFormat::PValueThenName ? "p-value[TAB]test_name"
                                                      : "test_name[TAB]p-value";
}

ResultLoadOutcome LoadResultText(std::string&& bytes, const ResultLoadOptions& options,
                                 ResultGrid& grid) {
    const std::optional<ResultLineFormat> format = FittingLineFormat(bytes, options.format);
    if (!format) {
        // Neither format gives a table: show none rather than an earlier file's.
        grid = ResultGrid();
        grid.SetSequenceColumnEnd(ResultGrid::FixedColumns);
        return ResultLoadOutcome{true, std::nullopt, "The result file holds no result lines."};
    }
    // Whatever an earlier, larger file left must not show through.
    grid.ClearBody();
    const CellText file = grid.AdoptFileText(std::move(bytes));
    const int32_t last_sequence_column = ReadResultSections(grid.FileText(), file, *format, grid);
    ResultLoadOutcome outcome{true, SummariseResultRows(last_sequence_column, options, grid), {}};
    if (*format != options.format)
        outcome.warning = "The result file holds '" + std::string(FormatText(*format)) +
                          "' lines; it was read in that format.";
    return outcome;
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
    const auto too_large = [&] {
        grid = ResultGrid(); // no half-built table, nor an earlier one beside an empty text
        return tell(std::string(ResultFileTooLarge));
    };
    std::optional<std::string> bytes;
    try {
        bytes = ReadWholeFile(path);
    } catch (const std::bad_alloc&) {
        return too_large();
    } catch (const std::length_error&) {
        return too_large();
    }
    if (!bytes)
        return tell("The result file can't be opened.");
    try {
        return LoadResultText(std::move(*bytes), options, grid);
    } catch (const std::bad_alloc&) {
        return too_large();
    }
}

} // namespace zentrope
