// A line-by-line difference of two texts (two parameter files), as a shortest edit script:
// every line of both, in order, marked as kept, removed (only in the first) or added (only
// in the second). Myers' algorithm ("An O(ND) difference algorithm", 1986).
#pragma once

#include <string_view>
#include <vector>

namespace zentrope {

enum class LineChange { Kept, Removed, Added };

struct DiffLine {
    LineChange change;
    std::string_view text; // a view into the text it comes from, without its line end
};

// Lines end at LF; a CR before it is part of the line end, so CRLF and LF files of the same
// lines compare equal. An empty text has no lines; a last line needs no line end. Where
// lines are removed and added at one place, the removed ones come first.
std::vector<DiffLine> DiffLines(std::string_view before, std::string_view after);

} // namespace zentrope
