#include "results/shares/share_interim.h"

#include "results/grid/section_feed.h"

namespace zentrope {
namespace {

// Where the first section heading starts: the report before it holds no section, so the
// first line that the loader takes for a heading is it.
size_t FirstHeading(std::string_view text) {
    for (size_t pos = 0; pos < text.size();) {
        if (text.substr(pos).starts_with("Sequen"))
            return pos;
        const size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            break;
        pos = end + 1;
    }
    return text.size();
}

} // namespace

std::string InterimShareText(std::string_view shareResult, bool firstShare) {
    SectionFeed feed;
    return feed.Add(firstShare ? shareResult : shareResult.substr(FirstHeading(shareResult))).text;
}

} // namespace zentrope
