// What a run would certainly fail on, found from the window's values before anything is
// written or started: no sequences, an input pattern that matches no file, too few input bits.
#pragma once

#include "paramfile/parameter_file_record.h"
#include "platform/file_matching.h"

#include <optional>
#include <string>
#include <string_view>

namespace zentrope {

struct RunInputProblem {
    std::string_view field; // the control to correct
    std::string message;    // names the field, its value and the way out
};

// The first problem in the order the fields stand on the page; `input` is what the record's
// input pattern matches. A length the save refuses anyway (not a number, out of range) is
// left to the save.
std::optional<RunInputProblem> FirstRunInputProblem(const ParameterFileRecord& record,
                                                    const MatchedFiles& input);

// 1234567 -> "1,234,567"
std::string GroupedDigits(uint64_t value);

} // namespace zentrope
