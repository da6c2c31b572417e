// What a platform's file names look like: the characters that end a folder and whether names
// tell upper from lower case. Each platform defines HostPathRules in a file of its own
// (path_rules_<platform>.cpp), which the build picks.
#pragma once

#include <string_view>

namespace zentrope {

struct PathRules {
    std::string_view separators; // each ends a folder part
    bool caseSensitiveNames = true;
};

const PathRules& HostPathRules();

} // namespace zentrope
