// Reading the sequence length typed into Editn.
#pragma once

#include <cstdint>
#include <string_view>

namespace zentrope {

// Leading white space skipped, then the digits up to the first other character; no digits
// give 0. A value beyond 32 bits saturates, so it never reads as 0.
uint32_t LeadingUnsigned(std::string_view text);

} // namespace zentrope
