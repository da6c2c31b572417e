// SHA-256 (FIPS 180-4) of a file's bytes: names the run a share belongs to.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zentrope {

// Lower-case hex digest of the bytes.
std::string Sha256Hex(std::string_view bytes);

// Of a whole file; none when it cannot be read.
std::optional<std::string> FileSha256Hex(const std::string& path);

} // namespace zentrope
