// Whether the input files of a recorded run are still the ones it read, before it is run again.
#pragma once

#include "records/file_hash.h"
#include "records/run_record.h"

#include <QStringList>

namespace zentrope {

struct InputChanges {
    QStringList changed; // paths whose content differs from the record, or that are gone
    bool stopped = false;
};

// Hashes each recorded input again (a file recorded without a hash counts as changed); the
// progress runs over the recorded sizes.
InputChanges FindChangedInputs(const QList<InputFileFacts>& recorded,
                               const HashProgress& progress = {});

} // namespace zentrope
