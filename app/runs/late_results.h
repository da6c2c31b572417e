// A tester left to run on its own when the window closed ends unseen. Once its process is
// gone, the result file it wrote during the run is copied into the run's folder, so that the
// run can be opened and compared; its end time and exit code stay unknown.
#pragma once

#include "records/run_store.h"

// Completes every such run of the store whose tester has ended since.
void CollectLateResults(zentrope::RunStore& store);

// Whether the run's end went unseen: a run, not an import, neither ended nor cancelled here.
bool EndUnseen(const zentrope::RunRecord& run);
