// The tester's progress lines, "Progress: k of N", among the other lines of its log.
#pragma once

#include <QStringView>
#include <optional>

namespace zentrope {

struct TesterProgress {
    qint64 done = 0;
    qint64 total = 0;
    bool operator==(const TesterProgress&) const = default;
};

// The figures of a line that is exactly "Progress: k of N" (decimal, 0 <= k <= N, N > 0);
// nothing for any other line.
std::optional<TesterProgress> ParseProgressLine(QStringView line);

} // namespace zentrope
