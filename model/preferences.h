// prefs.ini: the tester's path, the parameter file's path, the active page and the window's
// rectangle, one "key=value" line each.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zentrope {

// Where the run buttons start the tester, and the Slurm cluster's settings. Empty texts and 0
// leave Slurm's defaults.
struct RunPlacePreferences {
    bool onCluster = false;
    int32_t shards = 0; // 0: not chosen
    std::string partition;
    std::string timeLimit;
    int32_t cpusPerTask = 0;
    std::string memory;
    std::string account;
    std::string options;
    std::string commandPrefix;
    bool operator==(const RunPlacePreferences&) const = default;
};

// What a prefs.ini names; a key that is missing stays empty, a repeated key's last line wins.
// Paths are the file's bytes (UTF-8 as the window writes them).
struct Preferences {
    std::optional<std::string> zentropeExe;
    std::optional<std::string> paraFile;
    std::optional<int32_t> activePageIndex;
    std::optional<int32_t> left;
    std::optional<int32_t> top;
    std::optional<int32_t> width;
    std::optional<int32_t> height;
    RunPlacePreferences runPlace;
};

struct WindowRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// Lines are taken in pieces of at most 999 bytes; control characters at the end of a piece
// (CR, LF) are dropped, while blanks and non-ASCII bytes (UTF-8 paths) stay. Numbers are read
// as atol reads them.
Preferences ParsePreferences(std::string_view content);

// The seven lines, each ended by a bare LF.
std::string FormatPreferences(std::string_view zentropeExe, std::string_view paraFile,
                              int32_t activePageIndex, const WindowRect& window);

// The lines after the seven that keep where runs go: one per setting that is not its
// default, so that the file of a user who never chose a cluster stays the seven lines.
std::string FormatRunPlacePreferences(const RunPlacePreferences& place);

} // namespace zentrope
