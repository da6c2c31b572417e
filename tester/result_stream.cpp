#include "tester/result_stream.h"
#include "tester/temporary_cleanup.h"

#include <filesystem>

namespace zentrope {
namespace fs = std::filesystem;

namespace {

// A link stays a link: its file takes the new content.
std::string ResolvedTarget(const std::string& target) {
    std::error_code ec;
    if (!fs::is_symlink(target, ec))
        return target;
    const fs::path resolved = fs::weakly_canonical(target, ec);
    return ec ? target : resolved.string();
}

// A section is a few kilobytes; a buffer this large lets each one leave in one write.
constexpr size_t WriteBuffer = size_t{1} << 20;

} // namespace

ResultStream::ResultStream(std::string target)
    : target_(ResolvedTarget(target)), temporary_(target_ + ".partial") {}

ResultStream::~ResultStream() {
    if (file_)
        std::fclose(file_);
    if (!committed_ && !temporary_.empty()) {
        std::error_code ec;
        fs::remove(temporary_, ec);
    }
    ForgetTemporary(temporary_);
}

bool ResultStream::Open() {
    // Registered first, so that no moment leaves the file unknown to the signal handlers.
    RegisterTemporary(temporary_);
    file_ = std::fopen(temporary_.c_str(), "wb");
    if (file_)
        std::setvbuf(file_, nullptr, _IOFBF, WriteBuffer);
    return file_ != nullptr;
}

void ResultStream::Write(std::string_view text) {
    if (file_ &&
        (std::fwrite(text.data(), 1, text.size(), file_) != text.size() || std::fflush(file_) != 0))
        failed_ = true;
}

bool ResultStream::Commit() {
    if (!file_)
        return false;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (failed_ || !closed)
        return false;
    std::error_code ec;
    fs::rename(temporary_, target_, ec);
    committed_ = !ec;
    return committed_;
}

} // namespace zentrope
