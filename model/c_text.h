// Reading and printing text as the C library does it in the "C" locale, whatever the process
// locale is: the parameter, result and preferences files always use a decimal point. Here are
// the numbers (atof, atol, printf) and the fixed-size line pieces that fgets hands back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zentrope {

// atof: leading white space skipped, then the longest decimal number (fraction, exponent,
// inf, nan); 0 when there is none. consumed, when given, receives the characters used.
double AtofC(std::string_view text, size_t* consumed = nullptr);

// atol: leading white space skipped, an optional sign, the longest run of digits; 0 without
// digits. Values beyond 32 bits saturate, as strtol does.
int32_t AtolC(std::string_view text);

// The same without a sign: a text starting with '-' or '+' reads 0. A value beyond 32 bits
// saturates, so a large count never reads as 0.
uint32_t LeadingUnsigned(std::string_view text);

// The whole text must be an optional sign and at least one digit, within 32 bits.
std::optional<int32_t> ParseStrictInteger(std::string_view text);

// printf("%g", v)
std::string FormatG(double v);
// printf("%.*f", digits, v); digits is clamped to 0..MaxFixedDigits.
std::string FormatFixed(double v, int digits);
inline constexpr int MaxFixedDigits = 20;

// The line that starts at pos, as fgets reads it into a buffer of max_length + 1 bytes: up to
// and including the next line feed, but at most max_length characters, so that a longer line
// comes in pieces. pos moves past the piece; empty only when pos is at the end.
std::string_view NextLinePiece(std::string_view text, size_t& pos, size_t maxLength);

} // namespace zentrope
