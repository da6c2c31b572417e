// The parameter files of compared runs, line by line against the first that has one, so that
// like is compared with like.
#pragma once

#include <optional>
#include <span>
#include <string>

namespace zentrope {

struct ComparedParameters {
    std::string label;
    std::optional<std::string> text; // nothing when the run has no parameter file
};

// For every run after the base (the first with a parameter file): a heading naming both, then
// its changed lines, "- " for the base's and "+ " for its own, each group below the "[Section]"
// line it belongs to, since keys such as min and max recur in every section; or a note that
// the files are the same, or that the run has none.
std::string ParameterDifferences(std::span<const ComparedParameters> runs);

} // namespace zentrope
