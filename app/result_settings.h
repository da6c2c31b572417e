// How the window's General page asks for results to be read and judged: the line format,
// the digits and sort of the summaries, and the thresholds KSmin, ADmin and SLmax.
#pragma once

#include "result_loader.h"
#include "row_flags.h"

class TFIN;

zentrope::ResultLoadOptions LoadOptionsOf(const TFIN& window);
zentrope::FlagThresholds ThresholdsOf(const TFIN& window);
