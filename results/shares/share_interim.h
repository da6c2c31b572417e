// The whole run's interim result while its shares run apart: the shares that have completed,
// from the first on, put together in sequence order as a partial result file of the whole run
// would hold them, so that the table can show their sequences before the merge.
#pragma once

#include <string>
#include <string_view>

namespace zentrope {

// What the whole run's interim text takes from one completed share's result: its report and
// sections for the run's first share, its sections alone for any other (its report repeats
// the first's). The lines after its last section (reasons, summary) are left to the merge.
std::string InterimShareText(std::string_view shareResult, bool firstShare);

} // namespace zentrope
