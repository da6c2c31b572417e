// Timing for the benchmark programs: the best of a few rounds, wall clock and processor
// time, since the machine may be shared.
#pragma once

#include <algorithm>
#include <chrono>
#include <ctime>
#include <functional>

namespace zentrope {

struct Timing {
    double wall = 1e300;
    double cpu = 1e300;
};

// Best of `rounds` runs of `prepare` (untimed) followed by `work`.
inline Timing BestTime(const std::function<void()>& prepare, const std::function<void()>& work,
                       int rounds = 3) {
    Timing best;
    for (int round = 0; round < rounds; ++round) {
        prepare();
        const auto wallStart = std::chrono::steady_clock::now();
        const std::clock_t cpuStart = std::clock();
        work();
        const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        best.wall = std::min(best.wall, wall);
        best.cpu = std::min(best.cpu, cpu);
    }
    return best;
}

} // namespace zentrope
