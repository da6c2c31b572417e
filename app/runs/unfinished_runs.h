// Records that a program stopped at the wrong moment left without an end: a tester started but
// its process never noted, a tester that never started, a tester whose hash was never taken.
#pragma once

#include "records/run_store.h"

struct UnfinishedRuns {
    int found = 0;     // testers still running, found again from their logs
    int completed = 0; // ended testers whose runs were completed from their folders
    int removed = 0;   // records of testers that never started
    int hashed = 0;    // testers hashed since
};

// Leaves alone any run started in the last minute, which another window may still be
// starting, and runs whose start was noted (late_results.h completes them).
UnfinishedRuns FinishUnfinishedRuns(zentrope::RunStore& store);
