// Why a result line has no p-value, written into the report so that the window can say it:
//   No result: line <row> "<test name>": <reason>
//   No result: line <row> "<test name>", sequence <k>: <reason>
// <row> is the line's 1-based position in a section, <k> the 1-based sequence number. Reasons
// known before the run (the length) go into the header, reasons found on single sequences
// after the last section.
#pragma once

#include "tester/test_plan.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zentrope {

// 268435456 as "268,435,456".
std::string GroupedNumber(uint64_t value);

// Why the line gives no p-value on any sequence of n bits; nullopt when it can give one.
std::optional<std::string> LengthReason(const PlannedTest& line, const ParameterSet& set,
                                        uint64_t n);

// The report lines; row and sequence count from 0 here and are written from 1.
std::string NoResultLine(size_t row, const std::string& name, const std::string& reason);
std::string NoResultLine(size_t row, const std::string& name, size_t sequence,
                         const std::string& reason);

// A line that gave no p-value on one sequence although its length sufficed.
inline constexpr const char* SequenceReason =
    "the test found too little in this sequence's bits to compute a p-value";

} // namespace zentrope
