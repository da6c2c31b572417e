#include "results/result_loader.h"

#include "results/result_loader_steps.h"

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

ResultLoadOutcome LoadResultText(std::shared_ptr<const std::string> bytes,
                                 const ResultLoadOptions& options, ResultGrid& grid) {
    const std::optional<ResultLineFormat> format = FittingLineFormat(*bytes, options.format);
    if (!format) {
        // Neither format gives a table: show none rather than an earlier file's.
        grid = ResultGrid();
        grid.SetSequenceColumnEnd(ResultGrid::FixedColumns);
        return ResultLoadOutcome{true, std::nullopt, "The result file holds no result lines."};
    }
    // Whatever an earlier, larger file left must not show through.
    grid.ClearBody();
    const CellText file = grid.AdoptFileText(std::move(bytes));
    SectionsRead sections = ReadResultSections(grid.FileText(), file, *format, grid);
    ResultLoadOutcome outcome{true, SummariseResultRows(std::move(sections), options, grid), {}};
    if (*format != options.format)
        outcome.warning = "The result file holds '" + std::string(FormatText(*format)) +
                          "' lines; it was read in that format.";
    return outcome;
}

ResultLoadOutcome ReportTooLarge(ResultGrid& grid, const ResultMessageSink& report) {
    grid = ResultGrid(); // no half-built table, nor an earlier one beside an empty text
    if (report)
        report(std::string(ResultFileTooLarge));
    return ResultLoadOutcome{};
}

std::string ReadAll(std::istream& in) {
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

} // namespace

std::shared_ptr<const std::string> ReadResultBytes(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return nullptr;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return nullptr;
    const uintmax_t size = std::filesystem::file_size(path, error);
    if (error) // not a regular file: read it to its end
        return std::make_shared<const std::string>(ReadAll(in));
    std::string bytes(static_cast<size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    bytes.resize(static_cast<size_t>(in.gcount()));
    if (in)
        bytes += ReadAll(in); // whatever was added since the size was taken
    return std::make_shared<const std::string>(std::move(bytes));
}

ResultLoadOutcome LoadResultStream(std::istream& in, const ResultLoadOptions& options,
                                   ResultGrid& grid) {
    return LoadResultText(std::make_shared<const std::string>(ReadAll(in)), options, grid);
}

ResultLoadOutcome LoadResultBytes(std::shared_ptr<const std::string> bytes,
                                  const ResultLoadOptions& options, ResultGrid& grid,
                                  const ResultMessageSink& report) {
    try {
        return LoadResultText(std::move(bytes), options, grid);
    } catch (const std::bad_alloc&) {
        return ReportTooLarge(grid, report);
    }
}

ResultLoadOutcome LoadResultFile(const std::string& path, const ResultLoadOptions& options,
                                 ResultGrid& grid, const ResultMessageSink& report) {
    std::shared_ptr<const std::string> bytes;
    try {
        bytes = ReadResultBytes(path);
    } catch (const std::bad_alloc&) {
        return ReportTooLarge(grid, report);
    } catch (const std::length_error&) {
        return ReportTooLarge(grid, report);
    }
    if (!bytes) {
        if (report)
            report("The result file can't be opened.");
        return ResultLoadOutcome{};
    }
    return LoadResultBytes(std::move(bytes), options, grid, report);
}

} // namespace zentrope
