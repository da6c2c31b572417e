// Splitting a path typed by the user into its folder and its name, with the platform's
// separators: '/' here, '\' and ':' on Windows.
#pragma once

#include <string>
#include <string_view>

namespace zentrope {

// Everything up to and including the last separator; empty when there is none.
std::string DirectoryPart(std::string_view path);
// Everything after the last separator; the whole text when there is none.
std::string NamePart(std::string_view path);

} // namespace zentrope
