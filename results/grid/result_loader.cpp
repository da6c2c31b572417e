#include "results/grid/result_loader.h"

#include "results/grid/completeness.h"
#include "results/grid/parallel_parts.h"
#include "results/grid/result_loader_steps.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <new>
#include <stdexcept>
#include <vector>

namespace zentrope {
namespace {

std::string_view FormatText(ResultLineFormat format) {
    return format == ResultLineFormat::PValueThenName ? "p-value[TAB]test_name"
                                                      : "test_name[TAB]p-value";
}

// Joins two warnings into one message.
void AddWarning(std::string& warning, const std::string& more) {
    if (!more.empty())
        warning += (warning.empty() ? "" : "\n\n") + more;
}

ResultLoadOutcome LoadResultText(std::shared_ptr<const std::string> bytes, bool grew,
                                 const ResultLoadOptions& options, ResultGrid& grid,
                                 LoadWatch* watch) {
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
    SectionsRead sections = ReadResultSections(grid.FileText(), file, *format, grid, watch);
    sections.numbers.SetFileEnd({sections.line_cut, grew});
    ResultLoadOutcome outcome{true, SummariseResultRows(std::move(sections), options, grid), {}};
    if (*format != options.format)
        outcome.warning = "The result file holds '" + std::string(FormatText(*format)) +
                          "' lines; it was read in that format.";
    AddWarning(outcome.warning, IncompleteWarning(CompletenessOf(grid.Results())));
    return outcome;
}

ResultLoadOutcome ReportTooLarge(ResultGrid& grid, const ResultMessageSink& report) {
    grid = ResultGrid(); // no half-built table, nor an earlier one beside an empty text
    if (report)
        report(std::string(ResultFileTooLarge));
    return ResultLoadOutcome{};
}

// To the end, in blocks; unlike a stream copy, a failed allocation is thrown, not taken for
// the end of the file.
std::string ReadAll(std::istream& in, LoadWatch* watch = nullptr) {
    std::string bytes;
    std::vector<char> block(size_t{1} << 20);
    while (in.read(block.data(), std::streamsize(block.size())) || in.gcount() > 0) {
        bytes.append(block.data(), size_t(in.gcount()));
        Advance(watch, in.gcount());
    }
    return bytes;
}

// Below this many bytes per thread, a second reader costs more than it saves.
constexpr int64_t FewestBytesPerReader = int64_t{8} << 20;
// Each reader reads in blocks of this size, so that progress and a stop are seen in time.
constexpr size_t ReadBlock = size_t{4} << 20;

// Reads length bytes from the stream's place into `into`; false when they came short.
bool ReadBlocks(std::ifstream& in, char* into, size_t length, LoadWatch* watch) {
    for (size_t done = 0; done < length;) {
        const size_t block = std::min(ReadBlock, length - done);
        in.read(into + done, static_cast<std::streamsize>(block));
        if (in.gcount() != static_cast<std::streamsize>(block))
            return false;
        done += block;
        Advance(watch, int64_t(block));
    }
    return true;
}

// Fills bytes from the start of the file, a piece per thread (`in` reads the first); false
// when a piece came short, the file having changed meanwhile.
bool ReadInPieces(std::ifstream& in, const std::string& path, std::string& bytes,
                  LoadWatch* watch) {
    const int32_t parts = PartCount(static_cast<int64_t>(bytes.size()), FewestBytesPerReader);
    std::vector<char> whole(static_cast<size_t>(parts), 0);
    RunParts(parts, [&](int32_t part) {
        const size_t from = bytes.size() * size_t(part) / size_t(parts);
        const size_t length = bytes.size() * size_t(part + 1) / size_t(parts) - from;
        std::ifstream own;
        if (part > 0)
            own.open(path, std::ios::binary);
        std::ifstream& piece = part == 0 ? in : own;
        piece.seekg(static_cast<std::streamoff>(from));
        whole[size_t(part)] = ReadBlocks(piece, bytes.data() + from, length, watch);
    });
    return std::all_of(whole.begin(), whole.end(), [](char w) { return w != 0; });
}

// What the path names, without opening it: opening a pipe would wait for a writer.
ResultReadFailure CheckReadable(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status) || std::filesystem::is_directory(status))
        return ResultReadFailure::CannotOpen;
    if (!std::filesystem::is_regular_file(status))
        return ResultReadFailure::NotRegularFile;
    return ResultReadFailure::None;
}

} // namespace

std::string NotRegularFileMessage(std::string_view path) {
    return std::string(path) +
           " is not a regular file (a pipe, a device or a socket) and cannot be loaded.";
}

ResultBytes ReadResultFileBytes(const std::string& path, LoadWatch* watch) {
    ResultBytes read;
    read.failure = CheckReadable(path);
    if (read.failure != ResultReadFailure::None)
        return read;
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(path, error);
    std::ifstream in(path, std::ios::binary);
    if (!in || error) {
        read.failure = ResultReadFailure::CannotOpen;
        return read;
    }
    if (watch)
        watch->Begin(LoadStage::Reading, int64_t(size));
    try {
        std::string bytes(static_cast<size_t>(size), '\0');
        if (ReadInPieces(in, path, bytes, watch)) {
            in.seekg(static_cast<std::streamoff>(size));
        } else { // the file changed while it was read: read it again in one piece
            read.grew = true;
            in.clear();
            in.seekg(0);
            in.read(bytes.data(), static_cast<std::streamsize>(size));
            bytes.resize(static_cast<size_t>(in.gcount()));
        }
        if (in) {
            const std::string added = ReadAll(in); // whatever was added since the size was taken
            read.grew = read.grew || !added.empty();
            bytes += added;
        }
        read.grew = read.grew || std::filesystem::file_size(path, error) != bytes.size();
        read.bytes = std::make_shared<const std::string>(std::move(bytes));
    } catch (const LoadCancelled&) {
        read.bytes.reset();
    }
    return read;
}

std::shared_ptr<const std::string> ReadResultBytes(const std::string& path) {
    return ReadResultFileBytes(path).bytes;
}

ResultLoadOutcome LoadResultStream(std::istream& in, const ResultLoadOptions& options,
                                   ResultGrid& grid) {
    return LoadResultText(std::make_shared<const std::string>(ReadAll(in)), false, options, grid,
                          nullptr);
}

ResultLoadOutcome LoadReadBytes(const ResultBytes& read, const ResultLoadOptions& options,
                                ResultGrid& grid, const ResultMessageSink& report,
                                LoadWatch* watch) {
    try {
        return LoadResultText(read.bytes, read.grew, options, grid, watch);
    } catch (const std::bad_alloc&) {
        return ReportTooLarge(grid, report);
    } catch (const std::length_error&) {
        return ReportTooLarge(grid, report);
    } catch (const LoadCancelled&) {
        ResultLoadOutcome outcome;
        outcome.cancelled = true;
        return outcome;
    }
}

ResultLoadOutcome LoadResultBytes(std::shared_ptr<const std::string> bytes,
                                  const ResultLoadOptions& options, ResultGrid& grid,
                                  const ResultMessageSink& report) {
    return LoadReadBytes(ResultBytes{std::move(bytes)}, options, grid, report);
}

ResultLoadOutcome LoadResultFile(const std::string& path, const ResultLoadOptions& options,
                                 ResultGrid& grid, const ResultMessageSink& report) {
    ResultBytes read;
    try {
        read = ReadResultFileBytes(path);
    } catch (const std::bad_alloc&) {
        return ReportTooLarge(grid, report);
    } catch (const std::length_error&) {
        return ReportTooLarge(grid, report);
    }
    if (!read.bytes) {
        if (report)
            report(read.failure == ResultReadFailure::NotRegularFile
                       ? NotRegularFileMessage(path)
                       : std::string("The result file can't be opened."));
        return ResultLoadOutcome{};
    }
    return LoadReadBytes(read, options, grid, report);
}

} // namespace zentrope
