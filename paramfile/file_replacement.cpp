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

enum class WriteOutcome { Written, NotOpened, Failed };

WriteOutcome WriteBytesTo(const fs::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out)
        return WriteOutcome::NotOpened;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return out.fail() ? WriteOutcome::Failed : WriteOutcome::Written;
}

// A link is saved through: the file it names gets the new content and the link stays.
fs::path ResolvedTarget(const std::string& path) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec)))
        return path;
    fs::path linked = fs::canonical(path, ec);
    return ec ? fs::path(path) : linked;
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
    const fs::path target = ResolvedTarget(path);
    const fs::path temporary(TemporaryNameFor(target.string()));
    if (!TargetWritable(target))
        return false;
    std::error_code ec;
    switch (WriteBytesTo(temporary, bytes)) {
    case WriteOutcome::NotOpened:
        // A folder closed to new files may still let its files be rewritten; the content
        // is complete, so only a failing disk could leave the target short.
        return WriteBytesTo(target, bytes) == WriteOutcome::Written;
    case WriteOutcome::Failed:
        fs::remove(temporary, ec);
        return false;
    case WriteOutcome::Written:
        break;
    }
    KeepPermissions(target, temporary);
    fs::rename(temporary, target, ec);
    if (ec) {
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

} // namespace zentrope
