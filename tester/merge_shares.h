// Merging the result files of a run's shares, with the closing summary the tester writes.
#pragma once

#include <string>
#include <vector>

namespace zentrope {

// An empty text when `outPath` now holds the whole run's result; else why nothing was written.
std::string MergeShares(const std::vector<std::string>& sharePaths, const std::string& outPath);

} // namespace zentrope
