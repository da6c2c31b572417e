// Replacing a file's whole content so that it is either fully written or left as it was.
#pragma once

#include <string>
#include <string_view>

namespace zentrope {

// Writes the bytes to a temporary file beside the target and renames it over the target;
// a link is written through to the file it names. Where no temporary can be created, the
// target is rewritten in place, its old and new bytes first kept in `recoveryFolder` (see
// save_recovery.h), so that a save stopped at any point leaves the old or the new text; with
// no recovery folder, or none that takes the copy, it is then not saved. False, with no
// temporary left, when the target exists but cannot be opened for writing, or when the bytes
// cannot be written, closed or moved.
bool ReplaceFileContents(const std::string& path, std::string_view bytes,
                         const std::string& recoveryFolder = {});

// The temporary's name for a target; a test may look for leftovers under it.
std::string TemporaryNameFor(const std::string& path);

} // namespace zentrope
