// Names in the parameter and result files are byte strings: a Linux file name need not be
// UTF-8. Shown, they read as UTF-8 where they are valid UTF-8; every other byte reads as the
// Latin-1 character of the same code, so that nothing turns into a replacement mark.
#pragma once

#include <string>
#include <string_view>

namespace zentrope {

// The bytes themselves when they are valid UTF-8.
bool IsValidUtf8(std::string_view bytes);

// UTF-8 text for showing the bytes: valid sequences kept, each other byte as U+0080..U+00FF
// (or U+0000..U+007F) of its code.
std::string DisplayUtf8(std::string_view bytes);

} // namespace zentrope
