// A result file loaded from outside the recorded runs is kept as a record of kind "imported":
// its copy in a folder of its own, and where it came from.
#pragma once

#include <QString>

// Judges, keeps and records on a pool thread, so a large file does not hold the window;
// returns at once. A large file is kept as a second name of itself where it can be
// (KeepFileAt), so it is not copied; a copy still going when the application quits stops and
// leaves nothing, so closing never waits for it. A file inside a run folder is already
// recorded and is left alone.
void RecordImportedResult(const QString& path);
