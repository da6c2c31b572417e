// At start, the records are checked and put back into step with the run folders off the
// window's thread (records/folder_reindex.h, unfinished_runs.h); what was done is summed up in a
// line.
#pragma once

#include <QString>

// Checks the store under `root`, telling any trouble to StoreNotices, and tidies it. The line
// for the Runs page's status; empty when there was nothing to do.
QString TidyRecordsAtStart(const QString& root);
