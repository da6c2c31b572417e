// Bringing the index and the run folders back into step after a program stopped between
// them, or after the index was lost: a folder that holds its record is indexed again; one
// that was being made when its program stopped is removed.
#pragma once

#include "records/run_store.h"

namespace zentrope {

struct FolderReindexing {
    int indexed = 0; // folders whose record was put back into the index
    int removed = 0; // folders left half made
};

// Leaves alone any folder another program is still making. Every indexed run's folder that
// lacks its record file (one made by an earlier version) gets one.
FolderReindexing ReindexRunFolders(RunStore& store);

} // namespace zentrope
