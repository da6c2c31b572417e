#include "c_number.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace zentrope {
namespace {

bool IsCSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
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
        value = DecimalOrder(number) < 0 ? 0.0 : HUGE_VAL;
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
