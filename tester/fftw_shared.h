// What the transforms share. FFTW's planner is not reentrant, so every plan of the program is
// made under one lock (executing a plan needs none). Each thread keeps one transform buffer,
// grown to the largest transform it has run, so the sequences of a run reuse it.
#pragma once

#include <fftw3.h>

#include <cstddef>
#include <cstdint>
#include <mutex>

namespace zentrope {

std::mutex& FftwPlannerLock();

// Bytes FFTW keeps for an estimated plan of a transform whose sides (one, or rows and columns)
// are smooth lengths: measured at 8 to 10 bytes per value of each side's length (a
// two-dimensional plan holds one transform per side), taken as 20 with some room.
uint64_t FftwPlanBytes(uint64_t rows, uint64_t columns);

// The calling thread's buffer of at least `count` complex values, aligned by fftw_malloc as
// the plans expect; its contents are undefined.
fftw_complex* ThreadTransformBuffer(size_t count);

} // namespace zentrope
