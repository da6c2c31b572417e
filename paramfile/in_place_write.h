// Writing new bytes over an existing file without replacing the file itself.
#pragma once

#include <filesystem>
#include <string_view>

namespace zentrope {

// Rewrites `target`, `oldSize` bytes long, with `bytes`: grown first by writing the new tail
// at its end, so that a full disk fails before an old byte changes (the file is then cut
// back to its old length); then the head is written over the old content and any old tail
// cut off. False when a step failed; the file may then hold parts of both texts.
bool OverwriteInPlace(const std::filesystem::path& target, std::uintmax_t oldSize,
                      std::string_view bytes);

} // namespace zentrope
