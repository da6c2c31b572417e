// Counting the files that a name with wildcards matches, as the input file box shows them.
#pragma once

#include "platform/path_rules.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zentrope {

struct MatchedFiles {
    uint64_t count = 0;
    uint64_t totalBytes = 0; // 64 bits: inputs of 4 GiB and more keep their true size
};

// The folder part is taken literally; '*' and '?' in the name part match any run of
// characters and any one character. Folders are skipped. An empty pattern, a pattern that
// names a folder and a folder that does not exist all match nothing.
MatchedFiles CountMatchingFiles(std::string_view pattern, const PathRules& rules = HostPathRules());

// The paths of the files that CountMatchingFiles counts, as the pattern's folder part spells
// them, in the order the folder lists them.
std::vector<std::string> ListMatchingFiles(std::string_view pattern,
                                           const PathRules& rules = HostPathRules());

// True when name matches the wildcard pattern; "*.*" also matches names without a dot,
// as the find-first enumeration reads it. Case counts where the platform's names tell it.
bool NameMatchesPattern(std::string_view name, std::string_view pattern,
                        const PathRules& rules = HostPathRules());

} // namespace zentrope
