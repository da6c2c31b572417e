#include "file_replacement.h"

#include <filesystem>
#include <fstream>

namespace zentrope {
namespace {

namespace fs = std::filesystem;

// An existing target that may not be written (read-only, a folder) is not replaced either:
// the rename would otherwise get round its protection.
bool TargetWritable(const fs::path& target) {
    std::error_code ec;
    fs::file_status status = fs::status(target, ec);
    if (status.type() == fs::file_type::not_found)
        return true;
    if (ec || fs::is_directory(status))
        return false;
    std::ofstream probe(target, std::ios::binary | std::ios::app);
    return probe.is_open();
}

bool WriteAll(const fs::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out.fail())
        return true;
    std::error_code ec;
    fs::remove(file, ec);
    return false;
}

void KeepPermissions(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::file_status status = fs::status(from, ec);
    if (!ec && fs::exists(status))
        fs::permissions(to, status.permissions(), ec);
}

} // namespace

std::string TemporaryNameFor(const std::string& path) {
    return path + ".zentrope-saving";
}

bool ReplaceFileContents(const std::string& path, std::string_view bytes) {
    const fs::path target(path);
    const fs::path temporary(TemporaryNameFor(path));
    if (!TargetWritable(target))
        return false;
    if (!WriteAll(temporary, bytes))
        return false;
    KeepPermissions(target, temporary);
    std::error_code ec;
    fs::rename(temporary, target, ec);
    if (ec) {
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

} // namespace zentrope
