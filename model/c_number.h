// Number reading and printing as the C library does it in the "C" locale, whatever the
// process locale is: the parameter and result files always use a decimal point.
#pragma once

#include <string>
#include <string_view>

namespace zentrope {

// atof: leading white space skipped, then the longest decimal number (fraction, exponent,
// inf, nan); 0 when there is none. consumed, when given, receives the characters used.
double AtofC(std::string_view text, size_t* consumed = nullptr);

// printf("%g", v)
std::string FormatG(double v);
// printf("%.*f", digits, v); digits is clamped to 0..MaxFixedDigits.
std::string FormatFixed(double v, int digits);
inline constexpr int MaxFixedDigits = 20;

} // namespace zentrope
