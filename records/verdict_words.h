// The words the index and a run folder's record file keep for a verdict's outcome.
#pragma once

#include "results/verdict/run_verdict.h"

#include <QString>
#include <optional>

namespace zentrope {

QString OutcomeWord(BriefOutcome outcome);
// Nothing for a word this version does not know (a newer one wrote it): the result is then
// judged again.
std::optional<BriefOutcome> OutcomeOfWord(const QString& word);

} // namespace zentrope
