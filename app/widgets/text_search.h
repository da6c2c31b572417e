// Finding a text in a large file's bytes, as a viewer's find does: forward from a place or
// backward before it, round the end of the text when nothing lies that way.
#pragma once

#include <cstddef>
#include <string_view>

struct TextMatch {
    size_t at = std::string_view::npos; // npos: the text does not occur
    bool wrapped = false;               // found only by going round the end of the text
};

// Forward: the first match starting at `from` or after. Backward: the last match starting
// before `from`. Without matchCase, ASCII letters match either case; other bytes (UTF-8
// included) match exactly.
TextMatch FindInText(std::string_view text, std::string_view needle, size_t from, bool backward,
                     bool matchCase);
