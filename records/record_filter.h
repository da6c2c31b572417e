// Finding records by what a user remembers of them: a test, an input file, a date, a tester.
#pragma once

#include "records/run_record.h"

#include <QString>

namespace zentrope {

// True when every blank-separated word of `text` occurs, ignoring case, in one of the
// record's texts: its kind ("run", "imported"), folder, tester path and hash, front end
// version, start and end times (ISO 8601), exit code, tests, input paths and hashes, and the
// list's input and verdict texts ("generator", "FAILS 3 rows"). An empty text matches every
// record.
bool RecordMatches(const RunRecord& record, const QString& text);

} // namespace zentrope
