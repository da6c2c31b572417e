#include "results/grid/no_result_reasons.h"

#include "model/c_text.h"

#include <algorithm>
#include <optional>
#include <span>

namespace zentrope {
namespace {

constexpr std::string_view Lead = "No result: line ";
constexpr std::string_view WholeRowEnd = "\": ";
constexpr std::string_view SequenceEnd = "\", sequence ";

std::string_view TrimEnd(std::string_view text) {
    const size_t end = text.find_last_not_of(" \t\r\n");
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

// A positive decimal number at the start of text, and what follows it.
std::optional<int32_t> TakeNumber(std::string_view& text) {
    size_t digits = 0;
    while (digits < text.size() && digits < 9 && text[digits] >= '0' && text[digits] <= '9')
        ++digits;
    const std::optional<int32_t> number = ParseStrictInteger(text.substr(0, digits));
    if (!number || *number < 1)
        return std::nullopt;
    text.remove_prefix(digits);
    return number;
}

// One line without its line end, from just after "No result: line ".
std::optional<NoResultReason> ParseReason(std::string_view line) {
    NoResultReason reason;
    const std::optional<int32_t> row = TakeNumber(line);
    if (!row || !line.starts_with(" \""))
        return std::nullopt;
    line.remove_prefix(2);
    for (size_t quote = line.find('"'); quote != std::string_view::npos;
         quote = line.find('"', quote + 1)) {
        std::string_view rest = line.substr(quote);
        if (rest.starts_with(SequenceEnd)) {
            rest.remove_prefix(SequenceEnd.size());
            const std::optional<int32_t> sequence = TakeNumber(rest);
            if (!sequence || !rest.starts_with(": "))
                return std::nullopt;
            reason.sequence = *sequence - 1;
            rest.remove_prefix(2);
        } else if (rest.starts_with(WholeRowEnd)) {
            rest.remove_prefix(WholeRowEnd.size());
        } else {
            continue;
        }
        reason.row = *row - 1;
        reason.name = line.substr(0, quote);
        reason.reason = TrimEnd(rest);
        if (reason.reason.empty())
            return std::nullopt;
        return reason;
    }
    return std::nullopt;
}

} // namespace

std::vector<NoResultReason> ReadNoResultReasons(std::string_view text) {
    std::vector<NoResultReason> reasons;
    for (size_t at = text.find(Lead); at != std::string_view::npos; at = text.find(Lead, at + 1)) {
        if (at > 0 && text[at - 1] != '\n')
            continue;
        const size_t from = at + Lead.size();
        const size_t end = std::min(text.find('\n', from), text.size());
        if (std::optional<NoResultReason> reason = ParseReason(text.substr(from, end - from)))
            reasons.push_back(std::move(*reason));
    }
    // Rows look their reasons up by row: a run may give one for every cell.
    std::stable_sort(
        reasons.begin(), reasons.end(),
        [](const NoResultReason& a, const NoResultReason& b) { return a.row < b.row; });
    return reasons;
}

std::string RowReasonText(const std::vector<NoResultReason>& reasons, const ResultRow& row,
                          int32_t resultRow) {
    const std::string_view name = TrimEnd(row.name);
    std::vector<std::string_view> whole;
    struct SequenceReason {
        std::string_view reason;
        int32_t sequences = 0;
        int32_t first = 0; // from 0
    };
    std::vector<SequenceReason> bySequence;
    const auto [first, last] = std::equal_range(
        reasons.begin(), reasons.end(), NoResultReason{resultRow},
        [](const NoResultReason& a, const NoResultReason& b) { return a.row < b.row; });
    for (const NoResultReason& reason : std::span(first, last)) {
        if (reason.name != name)
            continue;
        if (reason.sequence < 0) {
            if (std::find(whole.begin(), whole.end(), reason.reason) == whole.end())
                whole.push_back(reason.reason);
            continue;
        }
        const auto known =
            std::find_if(bySequence.begin(), bySequence.end(),
                         [&](const SequenceReason& seen) { return seen.reason == reason.reason; });
        if (known == bySequence.end())
            bySequence.push_back({reason.reason, 1, reason.sequence});
        else
            ++known->sequences;
    }
    std::string text;
    const auto append = [&text](std::string_view part) {
        if (!text.empty())
            text += "; ";
        text += part;
    };
    for (const std::string_view reason : whole)
        append(reason);
    for (const SequenceReason& each : bySequence)
        append((each.sequences == 1 ? "in sequence " + std::to_string(each.first + 1)
                                    : "in " + std::to_string(each.sequences) + " sequences") +
               ": " + std::string(each.reason));
    return text;
}

} // namespace zentrope
