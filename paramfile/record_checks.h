// Values of a record that the window refuses, or asks about, before it saves or runs them.
#pragma once

#include "paramfile/parameter_file_record.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentrope {

// The text a size is written as: the number, a blank and the abbreviation of the unit whose
// index the combo box text gives (none for an index that selects no unit).
std::string SizeText(std::string_view number, std::string_view unitIndex);

// A size whose bit count the reader would refuse (it takes 0 to 4294967295 bits).
struct SizeOutOfRange {
    std::string_view field; // the control holding the number
    std::string message;
};
// The first of the sequence length and the two DFT sizes that is out of range, if any.
std::optional<SizeOutOfRange> FirstSizeOutOfRange(const ParameterFileRecord& record);

// A range of a test in the execution order whose min exceeds its max; the tester runs no
// value of it.
struct InvertedRange {
    TestId test = 0;
    std::string range; // what the range counts, such as "block size"
    int32_t min = 0;
    int32_t max = 0;
};
// In execution order. Ranges whose texts are not whole numbers are left to the save, which
// refuses them.
std::vector<InvertedRange> InvertedRanges(const ParameterFileRecord& record);

} // namespace zentrope
