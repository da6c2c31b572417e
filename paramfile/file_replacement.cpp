#include "paramfile/file_replacement.h"

#include <algorithm>
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

// Rewrites an existing target without truncating it first: the file is first grown to the
// new length by writing the new text's tail at its end, so that a full disk fails before a
// byte of the old content changes (the file is then cut back to its old length); only then
// is the head written over the old content and any old tail cut off.
bool RewriteInPlace(const fs::path& target, std::string_view bytes) {
    std::error_code ec;
    const uintmax_t old_size = fs::file_size(target, ec);
    if (ec) { // nothing to keep
        if (WriteBytesTo(target, bytes) == WriteOutcome::Written)
            return true;
        fs::remove(target, ec);
        return false;
    }
    std::fstream file(target, std::ios::in | std::ios::out | std::ios::binary);
    if (!file)
        return false;
    const size_t head = static_cast<size_t>(std::min<uintmax_t>(old_size, bytes.size()));
    if (bytes.size() > head) {
        file.seekp(0, std::ios::end);
        file.write(bytes.data() + head, static_cast<std::streamsize>(bytes.size() - head));
        file.flush();
        if (!file) {
            file.close();
            fs::resize_file(target, old_size, ec);
            return false;
        }
    }
    file.seekp(0);
    file.write(bytes.data(), static_cast<std::streamsize>(head));
    file.close();
    if (file.fail())
        return false;
    if (bytes.size() < old_size)
        fs::resize_file(target, bytes.size(), ec);
    return !ec;
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
        // A folder closed to new files may still let its files be rewritten.
        return RewriteInPlace(target, bytes);
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
