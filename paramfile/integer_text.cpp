#include "integer_text.h"

#include <algorithm>
#include <limits>

namespace zentrope {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsCSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

struct Digits {
    int64_t magnitude = 0; // saturates just beyond the 32-bit range
    size_t count = 0;
    size_t end = 0;
};

Digits TakeDigits(std::string_view text, size_t pos) {
    constexpr int64_t Cap = int64_t{1} << 32; // beyond both ends of the 32-bit range
    Digits d;
    for (d.end = pos; d.end < text.size() && IsDigit(text[d.end]); ++d.end, ++d.count)
        d.magnitude = std::min(Cap, d.magnitude * 10 + (text[d.end] - '0'));
    return d;
}

int64_t Signed(int64_t magnitude, bool negative) {
    return negative ? -magnitude : magnitude;
}

size_t SkipSign(std::string_view text, size_t pos, bool& negative) {
    negative = pos < text.size() && text[pos] == '-';
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
        ++pos;
    return pos;
}

} // namespace

std::optional<int32_t> ParseStrictInteger(std::string_view text) {
    bool negative = false;
    size_t digits = SkipSign(text, 0, negative);
    Digits d = TakeDigits(text, digits);
    int64_t value = Signed(d.magnitude, negative);
    if (d.count == 0 || d.end != text.size() || value > std::numeric_limits<int32_t>::max() ||
        value < std::numeric_limits<int32_t>::min())
        return std::nullopt;
    return static_cast<int32_t>(value);
}

int32_t LenientInteger(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size() && IsCSpace(text[pos]))
        ++pos;
    bool negative = false;
    size_t digits = SkipSign(text, pos, negative);
    int64_t value = Signed(TakeDigits(text, digits).magnitude, negative);
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

} // namespace zentrope
