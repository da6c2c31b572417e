#include "tester/bit_input.h"

#include <fnmatch.h>

#include <algorithm>
#include <array>
#include <filesystem>

namespace zentrope {
namespace fs = std::filesystem;

std::vector<std::string> ExpandInputPattern(const std::string& pattern) {
    const fs::path path(pattern);
    const std::string leaf = path.filename().string();
    std::error_code ec;
    if (leaf.find_first_of("*?") == std::string::npos)
        return fs::is_regular_file(path, ec) ? std::vector<std::string>{pattern}
                                             : std::vector<std::string>{};
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file(ec) && fnmatch(leaf.c_str(), name.c_str(), FNM_PERIOD) == 0)
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    std::vector<std::string> files;
    for (const std::string& name : names)
        files.push_back(path.has_parent_path() ? (path.parent_path() / name).string() : name);
    return files;
}

BitInput::BitInput(uint64_t seed) : generator_(SeedXoshiro(seed)) {}

BitInput::BitInput(std::vector<std::string> files) : files_(std::move(files)) {
    std::error_code ec;
    for (const std::string& file : files_) {
        const uintmax_t bytes = fs::file_size(file, ec);
        fileBytes_.push_back(ec ? 0 : static_cast<uint64_t>(bytes));
        totalBits_ += fileBytes_.back() * 8;
    }
}

bool BitInput::SkipSequences(uint64_t count, uint64_t n) {
    if (IsGenerator()) {
        for (uint64_t word = count * ((n + 63) / 64); word > 0; --word)
            NextWord(generator_);
        return true;
    }
    const uint64_t bit = count * n;
    if (bit > totalBits_)
        return false;
    uint64_t byte = bit / 8;
    // Whole files before the bit are passed over unopened.
    while (nextFile_ < files_.size() && byte >= fileBytes_[nextFile_])
        byte -= fileBytes_[nextFile_++];
    if (!OpenNextFile() || !current_.seekg(static_cast<std::streamoff>(byte)))
        return bit == totalBits_;
    const int offset = static_cast<int>(bit % 8);
    if (offset == 0)
        return true;
    char first = 0;
    if (!current_.get(first))
        return false;
    pending_ = static_cast<unsigned char>(first);
    pendingCount_ = 8 - offset;
    return true;
}

bool BitInput::Next(uint64_t n, BitSequence& out) {
    ClearBits(out);
    out.words.reserve(static_cast<size_t>((n + 63) / 64));
    if (!IsGenerator())
        return NextFromFiles(n, out);
    while (out.size + 64 <= n)
        AppendBits(out, NextWord(generator_), 64);
    const auto rest = static_cast<int>(n - out.size);
    if (rest > 0)
        AppendBits(out, NextWord(generator_) >> (64 - rest), rest);
    return true;
}

bool BitInput::OpenNextFile() {
    current_.close();
    while (nextFile_ < files_.size()) {
        current_.clear();
        current_.open(files_[nextFile_++], std::ios::binary);
        if (current_.is_open())
            return true;
    }
    return false;
}

bool BitInput::NextFromFiles(uint64_t n, BitSequence& out) {
    const int fromPending = static_cast<int>(std::min<uint64_t>(n, pendingCount_));
    AppendBits(out, pending_ >> (pendingCount_ - fromPending), fromPending);
    pendingCount_ -= fromPending;
    std::array<char, 1 << 16> buffer{};
    while (out.size < n) {
        const auto wanted =
            static_cast<std::streamsize>(std::min<uint64_t>(buffer.size(), (n - out.size + 7) / 8));
        current_.read(buffer.data(), wanted);
        const std::streamsize got = current_.gcount();
        if (got == 0 && !OpenNextFile())
            return false;
        for (std::streamsize i = 0; i < got; ++i) {
            const auto byte = static_cast<uint64_t>(static_cast<unsigned char>(buffer[i]));
            const int take = static_cast<int>(std::min<uint64_t>(8, n - out.size));
            AppendBits(out, byte >> (8 - take), take);
            pending_ = byte;
            pendingCount_ = 8 - take;
        }
    }
    return true;
}

} // namespace zentrope
