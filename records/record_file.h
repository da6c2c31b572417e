// Each run folder holds its own record beside its files, so that an index that is lost can be
// built again from the folders.
#pragma once

#include "records/run_record.h"

#include <QString>
#include <optional>

namespace zentrope {

inline constexpr const char* RecordFileName = "record.json";

// Writes the record (all but its id, its folder being where the file lies) into its folder,
// replacing the file whole. Returns an empty text, or why not.
QString WriteRecordFile(const RunRecord& record);

// The record kept in `folder`, with that folder; nothing when there is none or it cannot be
// read.
std::optional<RunRecord> ReadRecordFile(const QString& folder);

} // namespace zentrope
