#include "results/grid/completeness.h"

#include <algorithm>

namespace zentrope {
namespace {

constexpr size_t NamedSections = 5;

std::string Lines(int32_t count) {
    return std::to_string(count) + (count == 1 ? " line" : " lines");
}

} // namespace

Completeness CompletenessOf(const ResultSet& set) {
    Completeness completeness;
    completeness.rows = set.RowCount();
    completeness.end = set.End();
    std::vector<int32_t> missing(size_t(set.SequenceCount()), 0);
    for (int32_t row = 0; row < set.RowCount(); ++row) {
        const ResultRow numbers = set.Row(row);
        for (size_t sequence = 0; sequence < missing.size(); ++sequence)
            missing[sequence] += numbers.marks[sequence] == PValueMark::Missing;
    }
    for (size_t sequence = 0; sequence < missing.size(); ++sequence)
        if (missing[sequence] > 0)
            completeness.short_sections.push_back(
                {int32_t(sequence) + 1, set.RowCount() - missing[sequence]});
    return completeness;
}

std::string IncompleteWarning(const Completeness& completeness) {
    if (completeness.Whole())
        return {};
    std::string text = "The result file is incomplete.";
    const auto& short_sections = completeness.short_sections;
    for (size_t i = 0; i < std::min(short_sections.size(), NamedSections); ++i)
        text += " Sequence " + std::to_string(short_sections[i].sequence) + " holds " +
                Lines(short_sections[i].lines) + " of " + std::to_string(completeness.rows) + ".";
    if (short_sections.size() > NamedSections)
        text += " " + std::to_string(short_sections.size() - NamedSections) +
                " more sequences hold fewer lines than the first.";
    if (completeness.end.line_cut)
        text += " Its last line is cut.";
    if (completeness.end.grew)
        text += " It grew while it was loaded: the tester may still be writing it.";
    return text + " The rows are figured from the values they hold.";
}

} // namespace zentrope
