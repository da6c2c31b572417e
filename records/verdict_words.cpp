#include "records/verdict_words.h"

#include <iterator>

namespace zentrope {
namespace {

// In BriefOutcome's order.
const QString Words[] = {QStringLiteral("passes"), QStringLiteral("fails"),
                         QStringLiteral("incomplete"), QStringLiteral("no figures"),
                         QStringLiteral("no table")};

} // namespace

QString OutcomeWord(BriefOutcome outcome) {
    return Words[static_cast<int>(outcome)];
}

std::optional<BriefOutcome> OutcomeOfWord(const QString& word) {
    for (int i = 0; i < int(std::size(Words)); ++i)
        if (word == Words[i])
            return static_cast<BriefOutcome>(i);
    return std::nullopt;
}

} // namespace zentrope
