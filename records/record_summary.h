// A record in brief, as the list of runs shows it and its filter finds it: what the run tested
// and how it came out.
#pragma once

#include "records/run_record.h"

#include <QString>

namespace zentrope {

// The input file's name ("and N more" for a pattern that matched several), "generator" for a
// run without one, an imported file's own name.
QString InputText(const RunRecord& run);

// A parameter file's InFile as InputText names it before the files it matches are known: its
// file name (a pattern stays one), "generator" when empty.
QString InFileText(const QString& inFile);

// "passes", "FAILS k rows", "incomplete", "no figures" (no row had a KS figure), "no result",
// "cancelled" or "failed" (the tester ended with an error or a signal); empty while that is not
// known (a run still going, or a result not judged yet).
QString VerdictText(const RunRecord& run);

// Orders the verdicts worst first: most failing rows, then incomplete, failed, cancelled,
// without figures or result, passing, not known.
int VerdictRank(const RunRecord& run);

} // namespace zentrope
