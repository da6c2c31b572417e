// Whether the tester wrote its result file during the run that just ended.
#pragma once

#include <QDateTime>
#include <string>

namespace zentrope {

enum class ResultFreshness { Written, Missing, Older };

// Compares the file's modification time with the start of the run, allowing for file systems
// that keep coarse times and for the kernel's coarse clock.
// The path is the file system's bytes, so that a name that is not UTF-8 is found.
ResultFreshness CheckResultFreshness(const std::string& path, const QDateTime& runStartedAt);

} // namespace zentrope
