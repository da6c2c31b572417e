#include "c_number.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace zentrope {
namespace {

bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::string ToChars(double v, std::chars_format format, int precision) {
    std::array<char, 400> buffer{}; // %f of the largest double needs 309 digits + fraction
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), v, format, precision);
    return std::string(buffer.data(), result.ptr);
}

} // namespace

double AtofC(std::string_view text, size_t* consumed) {
    size_t pos = 0;
    while (pos < text.size() && IsCSpace(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
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
        size_t e = number.find_first_of("eE");
        bool tiny = e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-';
        value = tiny ? 0.0 : HUGE_VAL;
    }
    if (consumed)
        *consumed = static_cast<size_t>(result.ptr - text.data());
    return negative ? -value : value;
}

std::string FormatG(double v) {
    return ToChars(v, std::chars_format::general, 6);
}

std::string FormatFixed(double v, int digits) {
    return ToChars(v, std::chars_format::fixed, std::clamp(digits, 0, MaxFixedDigits));
}

} // namespace zentrope
