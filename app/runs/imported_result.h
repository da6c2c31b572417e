// A result file loaded from outside the recorded runs is kept as a record of kind "imported":
// its copy in a folder of its own, and where it came from.
#pragma once

#include <QString>

// Judges, copies and records on a pool thread, so a large file does not hold the window; returns at
// once. A file inside a run folder is already recorded and is left alone. The application
// waits for the pool before it ends.
void RecordImportedResult(const QString& path);
