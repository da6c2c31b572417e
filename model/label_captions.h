// The two summary captions of the General page: the input files and the sequence length.
#pragma once

#include "platform/file_matching.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zentrope {

inline constexpr std::string_view NoFileCaption = "(No file)";
inline constexpr std::string_view AutomaticLengthCaption =
    "The sequence length will be calculated by Zentrope";

// Eight times the matched bytes, in 64 bits so that inputs of 512 MiB and more stay exact.
uint64_t InputBitsOf(const MatchedFiles& files);

// "3 files, 24 mbits, 22.9 Mb", or "(No file)" when nothing matched.
std::string TotalLengthCaption(const MatchedFiles& files);

// The bits each sequence gets when the whole input is tested (n = 0); nothing when there
// is no input, a length is given, or no sequence count.
std::optional<uint64_t> ComputedSequenceLength(uint64_t inputBits, uint32_t n, int32_t sequences);

// "The sequence length will be 480 kbits, 468.8 Kb"
std::string SequenceLengthCaption(uint64_t lengthBits);

} // namespace zentrope
