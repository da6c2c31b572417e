#include "number_texts.h"

#include <algorithm>
#include <limits>

namespace zentrope {
namespace {

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

size_t SkipSpaces(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size() && IsSpace(text[pos]))
        ++pos;
    return pos;
}

// The digits from pos on, saturated just above the 32-bit range.
int64_t ReadDigits(std::string_view text, size_t pos) {
    constexpr int64_t Cap = int64_t{1} << 33;
    int64_t value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos)
        value = std::min(Cap, value * 10 + (text[pos] - '0'));
    return value;
}

} // namespace

uint32_t LeadingUnsigned(std::string_view text) {
    int64_t v = ReadDigits(text, SkipSpaces(text));
    return static_cast<uint32_t>(std::min<int64_t>(v, std::numeric_limits<uint32_t>::max()));
}

int32_t LeadingSigned(std::string_view text) {
    size_t pos = SkipSpaces(text);
    bool negative = pos < text.size() && text[pos] == '-';
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
        ++pos;
    int64_t v = ReadDigits(text, pos);
    return static_cast<int32_t>(std::clamp<int64_t>(negative ? -v : v,
                                                    std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

} // namespace zentrope
