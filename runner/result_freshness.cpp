#include "result_freshness.h"

#include <QFileInfo>

namespace zentrope {
namespace {

// FAT keeps times in steps of two seconds.
constexpr qint64 ClockSlackMs = 2000;

} // namespace

ResultFreshness CheckResultFreshness(const QString& path, const QDateTime& runStartedAt) {
    const QFileInfo file(path);
    if (!file.isFile())
        return ResultFreshness::Missing;
    if (file.lastModified().toUTC() < runStartedAt.toUTC().addMSecs(-ClockSlackMs))
        return ResultFreshness::Older;
    return ResultFreshness::Written;
}

} // namespace zentrope
