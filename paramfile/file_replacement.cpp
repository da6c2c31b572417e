#include "paramfile/file_replacement.h"

#include "paramfile/in_place_write.h"
#include "paramfile/save_recovery.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

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

std::optional<std::string> ReadOldBytes(const fs::path& target) {
    std::ifstream in(target, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return in.bad() ? std::nullopt : std::optional<std::string>(std::move(bytes));
}

// A rewrite in place passes through states holding parts of both texts, so it only begins
// once both are kept whole in the recovery folder; the copy goes when the file is whole again.
bool RewriteInPlace(const fs::path& target, std::string_view bytes,
                    const std::string& recoveryFolder) {
    std::error_code ec;
    if (!fs::exists(target, ec)) { // nothing to keep
        if (WriteBytesTo(target, bytes) == WriteOutcome::Written)
            return true;
        fs::remove(target, ec);
        return false;
    }
    const std::optional<std::string> old = ReadOldBytes(target);
    if (!old || recoveryFolder.empty())
        return false;
    const std::string copy =
        KeepRecoveryCopy(recoveryFolder, fs::absolute(target).string(), *old, bytes);
    if (copy.empty())
        return false;
    if (OverwriteInPlace(target, old->size(), bytes)) {
        DropRecoveryCopy(copy);
        return true;
    }
    // Put back what it held; failing that, the copy stays for the next start to put back.
    const uintmax_t size = fs::file_size(target, ec);
    if (!ec && OverwriteInPlace(target, size, *old))
        DropRecoveryCopy(copy);
    return false;
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

bool ReplaceFileContents(const std::string& path, std::string_view bytes,
                         const std::string& recoveryFolder) {
    const fs::path target = ResolvedTarget(path);
    const fs::path temporary(TemporaryNameFor(target.string()));
    if (!TargetWritable(target))
        return false;
    std::error_code ec;
    switch (WriteBytesTo(temporary, bytes)) {
    case WriteOutcome::NotOpened:
        // A folder closed to new files may still let its files be rewritten.
        return RewriteInPlace(target, bytes, recoveryFolder);
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
