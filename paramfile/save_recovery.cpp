#include "paramfile/save_recovery.h"

#include "paramfile/in_place_write.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

namespace zentrope {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view Magic = "zentrope save recovery 1\n";
constexpr std::string_view CopyExtension = ".saving";
constexpr std::string_view PartExtension = ".part";

// A stable name per target (FNV-1a), so that a second save of the same file meets the copy
// of the first.
std::string CopyNameFor(const std::string& target) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const unsigned char c : target)
        hash = (hash ^ c) * 1099511628211ull;
    std::ostringstream name;
    name << std::hex << hash << CopyExtension;
    return name.str();
}

std::optional<std::string> ReadWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return bytes;
}

struct KeptSave {
    std::string target;
    std::string oldBytes;
    std::string newBytes;
};

std::optional<KeptSave> ParseCopy(const std::string& bytes) {
    if (!bytes.starts_with(Magic))
        return std::nullopt;
    const size_t lineEnd = bytes.find('\n', Magic.size());
    if (lineEnd == std::string::npos)
        return std::nullopt;
    std::istringstream sizes(bytes.substr(Magic.size(), lineEnd - Magic.size()));
    size_t targetSize = 0, oldSize = 0, newSize = 0;
    if (!(sizes >> targetSize >> oldSize >> newSize))
        return std::nullopt;
    const size_t start = lineEnd + 1;
    if (bytes.size() - start != targetSize + oldSize + newSize)
        return std::nullopt;
    return KeptSave{bytes.substr(start, targetSize), bytes.substr(start + targetSize, oldSize),
                    bytes.substr(start + targetSize + oldSize, newSize)};
}

RecoveryOutcome Settle(const KeptSave& save) {
    std::error_code ec;
    if (!fs::exists(save.target, ec))
        return RecoveryOutcome::Whole; // removed since: nothing of it to put back
    const std::optional<std::string> now = ReadWhole(save.target);
    if (now && (*now == save.oldBytes || *now == save.newBytes))
        return RecoveryOutcome::Whole;
    const std::uintmax_t size = fs::file_size(save.target, ec);
    if (ec || !OverwriteInPlace(save.target, size, save.oldBytes))
        return RecoveryOutcome::NotRestored;
    return ReadWhole(save.target) == save.oldBytes ? RecoveryOutcome::Restored
                                                   : RecoveryOutcome::NotRestored;
}

} // namespace

std::string KeepRecoveryCopy(const std::string& folder, const std::string& target,
                             std::string_view oldBytes, std::string_view newBytes) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    const fs::path copy = fs::path(folder) / CopyNameFor(target);
    fs::path part = copy;
    part += PartExtension;
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out << Magic << target.size() << ' ' << oldBytes.size() << ' ' << newBytes.size() << '\n'
            << target << oldBytes << newBytes;
        out.close();
        if (!out) {
            fs::remove(part, ec);
            return {};
        }
    }
    fs::rename(part, copy, ec);
    if (ec) {
        fs::remove(part, ec);
        return {};
    }
    return copy.string();
}

void DropRecoveryCopy(const std::string& copy) {
    std::error_code ec;
    fs::remove(copy, ec);
}

std::vector<RecoveredSave> RecoverInterruptedSaves(const std::string& folder) {
    std::vector<RecoveredSave> saves;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        const fs::path path = entry.path();
        if (path.extension() == PartExtension) { // never completed: its save never began
            fs::remove(path, ec);
            continue;
        }
        if (path.extension() != CopyExtension)
            continue;
        const std::optional<std::string> bytes = ReadWhole(path);
        const std::optional<KeptSave> save = bytes ? ParseCopy(*bytes) : std::nullopt;
        if (!save)
            continue;
        const RecoveryOutcome outcome = Settle(*save);
        if (outcome != RecoveryOutcome::NotRestored)
            fs::remove(path, ec);
        saves.push_back({save->target, outcome});
    }
    return saves;
}

} // namespace zentrope
