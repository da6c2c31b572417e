#include "number_texts.h"

#include <cstdint>
#include <limits>

namespace zentrope {
namespace {

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

struct Digits {
    uint64_t value = 0; // saturated just above the 32-bit range
    size_t end = 0;
    bool any = false;
};

Digits ReadDigits(std::string_view text, size_t pos) {
    constexpr uint64_t Cap = uint64_t{1} << 33;
    Digits d{0, pos, false};
    for (; d.end < text.size() && IsDigit(text[d.end]); ++d.end) {
        d.any = true;
        d.value = d.value * 10 + static_cast<uint64_t>(text[d.end] - '0');
        if (d.value > Cap)
            d.value = Cap;
    }
    return d;
}

size_t SkipSpaces(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size() && IsSpace(text[pos]))
        ++pos;
    return pos;
}

struct Signed {
    int64_t value = 0;
    size_t end = 0;
    bool any = false;
};

Signed ReadSigned(std::string_view text, size_t pos) {
    bool negative = pos < text.size() && text[pos] == '-';
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
        ++pos;
    Digits d = ReadDigits(text, pos);
    int64_t magnitude = static_cast<int64_t>(d.value);
    return {negative ? -magnitude : magnitude, d.end, d.any};
}

bool FitsInt32(int64_t v) {
    return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
}

} // namespace

uint32_t LeadingUnsigned(std::string_view text) {
    uint64_t v = ReadDigits(text, SkipSpaces(text)).value;
    return v > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max()
                                                    : static_cast<uint32_t>(v);
}

int32_t LeadingSigned(std::string_view text) {
    int64_t v = ReadSigned(text, SkipSpaces(text)).value;
    if (v < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    if (v > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(v);
}

std::optional<int32_t> StrictInteger(std::string_view text) {
    Signed s = ReadSigned(text, 0);
    if (!s.any || s.end != text.size() || !FitsInt32(s.value))
        return std::nullopt;
    return static_cast<int32_t>(s.value);
}

} // namespace zentrope
