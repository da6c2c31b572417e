// Reads the tester's result file into the result table: one row per test, one column per
// sequence, the count of valid p-values and, with two or more sequences, the KS, AD and SL
// figures of every row.
#pragma once

#include "results/grid/load_watch.h"
#include "results/grid/result_grid.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zentrope {

// The order of the two fields of a data line (the TestName_pv setting).
enum class ResultLineFormat : int32_t {
    PValueThenName = 0, // "p-value[TAB]test_name"
    NameThenPValue = 1, // "test_name[TAB]p-value"
};

struct ResultLoadOptions {
    ResultLineFormat format = ResultLineFormat::PValueThenName;
    int32_t pval_digits = 7; // decimals of KS and AD; negative means printf's default 6
    // Which summary column to sort by after the load; the first one set wins.
    bool sort_ks = false;
    bool sort_ad = false;
    bool sort_sl = false;
};

struct ResultLoadOutcome {
    // false: the file could not be opened (reported; the grid is untouched) or was too large
    // for memory (reported; the grid is then empty).
    bool loaded = false;
    // The sort the load asks for, to be passed to DecideMarkerSort: the column, negative
    // for descending. Empty when the table has no summaries or no sort box is checked.
    std::optional<int32_t> sort_request;
    // A warning to show once the table is shown: the file was read in the other line
    // format, it holds no result lines (the grid is then empty), or it is incomplete.
    std::string warning;
    // A watch asked the load to stop; the grid is then half built and must be dropped.
    bool cancelled = false;
};

enum class ResultReadFailure {
    None,
    CannotOpen,     // missing, unreadable or a folder
    NotRegularFile, // a pipe, a device or a socket, which could block the reader for ever
};

struct ResultBytes {
    std::shared_ptr<const std::string> bytes; // null when reading failed or was cancelled
    ResultReadFailure failure = ResultReadFailure::None;
    bool grew = false; // the file changed while it was read
};

using ResultMessageSink = std::function<void(const std::string&)>;

inline constexpr std::string_view ResultFileTooLarge = "The result file is too large to be loaded.";

// The message for a path that names no regular file.
std::string NotRegularFileMessage(std::string_view path);

// The whole file, to be shared by the text view and the table; null when the path names no
// readable regular file. Throws std::bad_alloc or std::length_error when memory runs out.
std::shared_ptr<const std::string> ReadResultBytes(const std::string& path);
// The same with why it failed and whether the file grew meanwhile; a watch sees the bytes
// read and can stop the reading (null bytes, no failure).
ResultBytes ReadResultFileBytes(const std::string& path, LoadWatch* watch = nullptr);

// Loads bytes that ReadResultBytes read; the grid keeps them. Reports "The result file is too
// large to be loaded." through `report` when memory runs out.
ResultLoadOutcome LoadResultBytes(std::shared_ptr<const std::string> bytes,
                                  const ResultLoadOptions& options, ResultGrid& grid,
                                  const ResultMessageSink& report);

// The same for bytes ReadResultFileBytes read (a file that grew is incomplete); a watch sees
// the progress and can stop the load (`cancelled`).
ResultLoadOutcome LoadReadBytes(const ResultBytes& read, const ResultLoadOptions& options,
                                ResultGrid& grid, const ResultMessageSink& report,
                                LoadWatch* watch = nullptr);

// ReadResultBytes and LoadResultBytes; reports "The result file can't be opened." when the
// file cannot be read, NotRegularFileMessage for what is no regular file, and the too-large
// message when memory runs out.
ResultLoadOutcome LoadResultFile(const std::string& path, const ResultLoadOptions& options,
                                 ResultGrid& grid, const ResultMessageSink& report);
ResultLoadOutcome LoadResultStream(std::istream& in, const ResultLoadOptions& options,
                                   ResultGrid& grid);

} // namespace zentrope
