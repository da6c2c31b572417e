#include "results/compare/parameter_differences.h"

#include "results/compare/line_diff.h"

#include <string_view>

namespace zentrope {
namespace {

bool IsSection(std::string_view line) {
    return !line.empty() && line.front() == '[';
}

// The changed lines of `after` against `before`, each under the section it lies in.
std::string ChangedLines(std::string_view before, std::string_view after) {
    std::string out;
    std::string_view sectionBefore, sectionAfter, shown;
    for (const DiffLine& line : DiffLines(before, after)) {
        const bool inBefore = line.change != LineChange::Added;
        const bool inAfter = line.change != LineChange::Removed;
        if (IsSection(line.text)) {
            if (inBefore)
                sectionBefore = line.text;
            if (inAfter)
                sectionAfter = line.text;
        }
        if (line.change == LineChange::Kept)
            continue;
        const std::string_view section = inBefore ? sectionBefore : sectionAfter;
        if (IsSection(line.text)) {
            shown = line.text;
        } else if (section != shown && !section.empty()) {
            out.append("  ").append(section).append("\n");
            shown = section;
        }
        out.append(inBefore ? "- " : "+ ").append(line.text).append("\n");
    }
    return out;
}

} // namespace

std::string ParameterDifferences(std::span<const ComparedParameters> runs) {
    const ComparedParameters* base = nullptr;
    std::string out;
    for (const ComparedParameters& run : runs) {
        if (!run.text) {
            out += run.label + ": no parameter file.\n\n";
            continue;
        }
        if (!base) {
            base = &run;
            continue;
        }
        const std::string changed = ChangedLines(*base->text, *run.text);
        out += changed.empty() ? run.label + ": the same parameters as " + base->label + ".\n\n"
                               : run.label + " against " + base->label + ":\n" + changed + "\n";
    }
    return out;
}

} // namespace zentrope
