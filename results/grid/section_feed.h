// Follows a result file that grows while the tester writes it (its "<result>.partial"): the
// bytes added since the last look go in, and the text up to the end of the last section they
// complete comes out, so that a reader never takes half a section. Lines are told apart as
// the loader tells them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zentrope {

class SectionFeed {
public:
    struct Completed {
        std::string text;     // from where the previous text ended: report lines and sections
        int32_t sections = 0; // the sections that `text` completes
    };

    // Takes the next bytes of the file; what they complete, possibly nothing.
    Completed Add(std::string_view bytes);
    // Every section completed so far.
    int32_t Sections() const { return sections_; }

private:
    std::string pending_;    // bytes not yet given out
    size_t scanned_ = 0;     // where the first line not yet looked at starts, in pending_
    size_t completeEnd_ = 0; // just past the last section end, in pending_
    bool inSection_ = false;
    int32_t sections_ = 0;
};

} // namespace zentrope
