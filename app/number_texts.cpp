#include "number_texts.h"

#include <algorithm>
#include <limits>

namespace zentrope {

uint32_t LeadingUnsigned(std::string_view text) {
    constexpr uint64_t Max = std::numeric_limits<uint32_t>::max();
    size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= '\t' && text[pos] <= '\r')))
        ++pos;
    uint64_t value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos)
        value = std::min(Max, value * 10 + static_cast<uint64_t>(text[pos] - '0'));
    return static_cast<uint32_t>(value);
}

} // namespace zentrope
