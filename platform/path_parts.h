// Splitting a path typed by the user into its folder and its name, at the platform's
// separators.
#pragma once

#include "platform/path_rules.h"

#include <string>
#include <string_view>

namespace zentrope {

// Everything up to and including the last separator; empty when there is none.
std::string DirectoryPart(std::string_view path, const PathRules& rules = HostPathRules());
// Everything after the last separator; the whole text when there is none.
std::string NamePart(std::string_view path, const PathRules& rules = HostPathRules());

} // namespace zentrope
