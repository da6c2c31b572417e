// A tester left to run on its own when the window closed ends unseen. Once its process is
// gone, the result file it wrote during the run is copied into the run's folder, so that the
// run can be opened and compared; its end time and exit code stay unknown.
#pragma once

#include "records/run_store.h"

// Completes every such run of the store whose tester has ended since.
void CollectLateResults(zentrope::RunStore& store);
// Completes that one run when its tester has ended since; true when its result was copied.
// A run whose result is already copied is left alone, so no result is collected twice.
bool CollectLateResult(zentrope::RunStore& store, const zentrope::RunRecord& run);

// Whether the run's tester still goes, by its backend's word; a record without a backend's
// identity by its process id alone. A backend this build does not know counts as going.
bool RunStillGoing(const zentrope::RunRecord& run);

// Whether the run's end went unseen: a run, not an import, neither ended nor cancelled here.
bool EndUnseen(const zentrope::RunRecord& run);
