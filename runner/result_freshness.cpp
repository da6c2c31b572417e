#include "runner/result_freshness.h"

#include <chrono>
#include <filesystem>

namespace zentrope {
namespace {

// FAT keeps times in steps of two seconds.
constexpr qint64 ClockSlackMs = 2000;

} // namespace

ResultFreshness CheckResultFreshness(const std::string& path, const QDateTime& runStartedAt) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return ResultFreshness::Missing;
    const auto written = std::filesystem::last_write_time(path, error);
    if (error)
        return ResultFreshness::Missing;
    const auto writtenMs = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::file_clock::to_sys(written).time_since_epoch());
    if (writtenMs.count() < runStartedAt.toMSecsSinceEpoch() - ClockSlackMs)
        return ResultFreshness::Older;
    return ResultFreshness::Written;
}

} // namespace zentrope
