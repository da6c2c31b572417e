#include "model/c_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace zentrope {
namespace {

bool IsCSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

size_t SkipSpace(std::string_view text, size_t pos) {
    while (pos < text.size() && IsCSpace(text[pos]))
        ++pos;
    return pos;
}

struct Digits {
    int64_t value = 0; // saturates just beyond both ends of the 32-bit ranges
    size_t count = 0;
    size_t end = 0;
};

Digits TakeDigits(std::string_view text, size_t pos) {
    constexpr int64_t Cap = int64_t{1} << 32;
    Digits d;
    for (d.end = pos; d.end < text.size() && IsDigit(text[d.end]); ++d.end, ++d.count)
        d.value = std::min(Cap, d.value * 10 + (text[d.end] - '0'));
    return d;
}

struct Sign {
    bool negative = false;
    size_t end = 0;
};

Sign TakeSign(std::string_view text, size_t pos) {
    const bool present = pos < text.size() && (text[pos] == '-' || text[pos] == '+');
    return {present && text[pos] == '-', present ? pos + 1 : pos};
}

// The sign and digits from pos on, as a 64-bit value that saturates beyond 32 bits.
Digits SignedDigits(std::string_view text, size_t pos) {
    const Sign sign = TakeSign(text, pos);
    Digits d = TakeDigits(text, sign.end);
    if (sign.negative)
        d.value = -d.value;
    return d;
}

std::string ToChars(double v, std::chars_format format, int precision) {
    std::array<char, 400> buffer{}; // %f of the largest double needs 309 digits + fraction
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), v, format, precision);
    return std::string(buffer.data(), result.ptr);
}

// The exponent after 'e', capped far beyond any double so that it cannot overflow.
int64_t CappedExponent(std::string_view text) {
    constexpr int64_t Cap = 1'000'000'000;
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+'))
        text.remove_prefix(1);
    int64_t exponent = 0;
    for (char digit : text)
        exponent = std::min(Cap, exponent * 10 + (digit - '0'));
    return negative ? -exponent : exponent;
}

// The power of ten of the first significant digit of a decimal number, which tells an
// overflow from an underflow: "0.000...1" underflows although it has no exponent, and
// "1000...0e-50" may overflow although its exponent is negative.
int64_t DecimalOrder(std::string_view number) {
    const size_t e = std::min(number.find_first_of("eE"), number.size());
    const std::string_view mantissa = number.substr(0, e);
    const size_t point = std::min(mantissa.find('.'), mantissa.size());
    const size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos)
        return -1;
    const int64_t order = first < point ? static_cast<int64_t>(point - first) - 1
                                        : -static_cast<int64_t>(first - point);
    return e < number.size() ? order + CappedExponent(number.substr(e + 1)) : order;
}

// A number of at most 15 digits with an optional decimal point and no exponent, as p-values
// are written: its digits make an integer below 2^53 and its fraction a power of ten up to
// 10^15, both exact as doubles, so one division gives the correctly rounded value that
// strtod gives (Clinger's fast path). Nothing for any other text, which takes the long way.
std::optional<double> ShortDecimal(std::string_view text, size_t pos, size_t& end) {
    static constexpr double PowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    constexpr int MaxDigits = 15;
    uint64_t mantissa = 0;
    int digits = 0;
    int fractionDigits = 0;
    bool point = false;
    for (end = pos; end < text.size(); ++end) {
        const char c = text[end];
        if (IsDigit(c)) {
            if (++digits > MaxDigits)
                return std::nullopt;
            mantissa = mantissa * 10 + static_cast<uint64_t>(c - '0');
            fractionDigits += point ? 1 : 0;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0 || (end < text.size() && (text[end] == 'e' || text[end] == 'E')))
        return std::nullopt;
    return static_cast<double>(mantissa) / PowersOfTen[fractionDigits];
}

} // namespace

double AtofC(std::string_view text, size_t* consumed) {
    const Sign sign = TakeSign(text, SkipSpace(text, 0));
    const size_t pos = sign.end;
    const bool negative = sign.negative;
    size_t end = 0;
    if (const std::optional<double> quick = ShortDecimal(text, pos, end)) {
        if (consumed)
            *consumed = end;
        return negative ? -*quick : *quick;
    }
    double value = 0;
    const char* first = text.data() + pos;
    auto result = std::from_chars(first, text.data() + text.size(), value);
    if (result.ec == std::errc::invalid_argument || (pos < text.size() && text[pos] == '-')) {
        if (consumed)
            *consumed = 0;
        return 0;
    }
    // Out of range: from_chars leaves the value alone where strtod gives HUGE_VAL or 0.
    if (result.ec == std::errc::result_out_of_range) {
        std::string_view number(first, static_cast<size_t>(result.ptr - first));
        value = DecimalOrder(number) < 0 ? 0.0 : HUGE_VAL;
    }
    if (consumed)
        *consumed = static_cast<size_t>(result.ptr - text.data());
    return negative ? -value : value;
}

int32_t AtolC(std::string_view text) {
    const int64_t value = SignedDigits(text, SkipSpace(text, 0)).value;
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

uint32_t LeadingUnsigned(std::string_view text) {
    const int64_t value = TakeDigits(text, SkipSpace(text, 0)).value;
    return static_cast<uint32_t>(std::min<int64_t>(value, std::numeric_limits<uint32_t>::max()));
}

std::optional<int32_t> ParseStrictInteger(std::string_view text) {
    const Digits d = SignedDigits(text, 0);
    if (d.count == 0 || d.end != text.size() || d.value > std::numeric_limits<int32_t>::max() ||
        d.value < std::numeric_limits<int32_t>::min())
        return std::nullopt;
    return static_cast<int32_t>(d.value);
}

std::string FormatG(double v) {
    return ToChars(v, std::chars_format::general, 6);
}

std::string FormatFixed(double v, int digits) {
    return ToChars(v, std::chars_format::fixed, std::clamp(digits, 0, MaxFixedDigits));
}

std::string_view NextLinePiece(std::string_view text, size_t& pos, size_t maxLength) {
    // Short lines are common (an empty line ends each section), and for them memchr's set-up
    // costs more than looking at their few bytes.
    constexpr size_t LookedAtFirst = 16;
    const size_t start = std::min(pos, text.size());
    const size_t limit = std::min(text.size() - start, maxLength);
    const char* const from = text.data() + start;
    size_t length = limit;
    size_t at = 0;
    for (; at < std::min(limit, LookedAtFirst); ++at)
        if (from[at] == '\n')
            break;
    if (at < std::min(limit, LookedAtFirst)) {
        length = at + 1;
    } else if (at < limit) {
        const void* lf = std::memchr(from + at, '\n', limit - at);
        if (lf)
            length = static_cast<size_t>(static_cast<const char*>(lf) - from) + 1;
    }
    pos = start + length;
    return text.substr(start, length);
}

} // namespace zentrope
