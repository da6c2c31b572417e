// Integer conversions of the parameter file: strict for the texts the window saves,
// lenient (as atol) for the texts the reader finds.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace zentrope {

// The whole text must be an optional sign and at least one digit, within 32 bits.
std::optional<int32_t> ParseStrictInteger(std::string_view text);

// Leading white space skipped, an optional sign, the longest run of digits; 0 without
// digits. Values beyond 32 bits saturate, as strtol does.
int32_t LenientInteger(std::string_view text);

} // namespace zentrope
