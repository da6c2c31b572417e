// Signals the program sets aside at start-up.
#pragma once

// Under a file-size limit, a write past it raises SIGXFSZ, which ends the process by default:
// ignored, the write fails with EFBIG instead, and every save already reports its failures.
void IgnoreFileSizeSignal();
