#include "tester/no_result_reasons.h"

namespace zentrope {
namespace {

constexpr TestId DftId = 1;

std::string Prefix(size_t row, const std::string& name) {
    return "No result: line " + std::to_string(row + 1) + " \"" + name + "\"";
}

} // namespace

std::string GroupedNumber(uint64_t value) {
    const std::string digits = std::to_string(value);
    std::string grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

std::optional<std::string> LengthReason(const PlannedTest& line, const ParameterSet& set,
                                        uint64_t n) {
    const uint64_t needed = RequiredBits(line, set);
    if (needed == UINT64_MAX)
        return "no sequence length is enough for these parameters";
    if (needed > n)
        return "needs " + GroupedNumber(needed) + " bits, a sequence holds " + GroupedNumber(n);
    if (line.test == DftId && DftLength(n, set) < needed)
        return "needs " + GroupedNumber(needed) + " bits, DFT_max_n and DFT_optimize leave " +
               GroupedNumber(DftLength(n, set)) + " of a sequence's " + GroupedNumber(n);
    return std::nullopt;
}

std::string NoResultLine(size_t row, const std::string& name, const std::string& reason) {
    return Prefix(row, name) + ": " + reason;
}

std::string NoResultLine(size_t row, const std::string& name, size_t sequence,
                         const std::string& reason) {
    return Prefix(row, name) + ", sequence " + std::to_string(sequence + 1) + ": " + reason;
}

} // namespace zentrope
