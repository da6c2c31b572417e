// A run's record as the Runs page shows it; what the record does not know is said so.
#pragma once

#include "records/run_record.h"

#include <QString>

// How a run ended, for the list: the exit code, "cancelled", "signal N" or "not known"; empty
// for an imported file, which was no run of this window.
QString EndText(const zentrope::RunRecord& run);

// How the record's verdict was reached ("Holm over the rows' KS p-values at 0.01"); empty
// before it is judged.
QString VerdictBasis(const zentrope::RunRecord& run);

// The whole record, a fact a line; `hashing`, when not empty, tells how far the hashing of
// its files has come.
QString RecordText(const zentrope::RunRecord& run, const QString& hashing);
