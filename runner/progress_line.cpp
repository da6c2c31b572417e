#include "runner/progress_line.h"

namespace zentrope {
namespace {

// Digits only, no sign or blanks, and few enough to fit.
std::optional<qint64> ParseCount(QStringView text) {
    constexpr qsizetype MaxDigits = 18;
    if (text.isEmpty() || text.size() > MaxDigits)
        return std::nullopt;
    qint64 value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

} // namespace

std::optional<TesterProgress> ParseProgressLine(QStringView line) {
    static constexpr QStringView Prefix = u"Progress: ";
    static constexpr QStringView Separator = u" of ";
    if (!line.startsWith(Prefix))
        return std::nullopt;
    const QStringView rest = line.mid(Prefix.size());
    const qsizetype at = rest.indexOf(Separator);
    if (at < 0)
        return std::nullopt;
    const std::optional<qint64> done = ParseCount(rest.left(at));
    const std::optional<qint64> total = ParseCount(rest.mid(at + Separator.size()));
    if (!done || !total || *total == 0 || *done > *total)
        return std::nullopt;
    return TesterProgress{*done, *total};
}

} // namespace zentrope
