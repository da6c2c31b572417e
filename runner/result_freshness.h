// Whether the tester wrote its result file during the run that just ended.
#pragma once

#include <QDateTime>
#include <QString>

namespace zentrope {

enum class ResultFreshness { Written, Missing, Older };

// Compares the file's modification time with the start of the run, allowing for file systems
// that keep coarse times and for the kernel's coarse clock.
ResultFreshness CheckResultFreshness(const QString& path, const QDateTime& runStartedAt);

} // namespace zentrope
