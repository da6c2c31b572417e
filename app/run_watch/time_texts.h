// How long a run has taken and how long it may still take, as the waiting notice shows them.
#pragma once

#include "runner/progress_line.h"

#include <QString>

// "H:MM:SS".
QString ElapsedText(qint64 seconds);

// The time left if the rest goes as fast as the part done in `elapsedMs`; empty while nothing
// is done yet.
QString TimeLeftText(const zentrope::TesterProgress& progress, qint64 elapsedMs);
