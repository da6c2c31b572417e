// Progress and cancelling of a result load that runs off the window's thread: the load's
// threads report what they have done and look for a request to stop; the window reads the
// progress and may ask for the stop.
#pragma once

#include <atomic>
#include <cstdint>

namespace zentrope {

enum class LoadStage : int32_t {
    Reading,  // the file's bytes
    Sections, // the lines, into cells
    Figures,  // the rows' numbers and figures
};

// Thrown by a load's step once a stop was asked for; the load's partial table is dropped.
struct LoadCancelled {};

class LoadWatch {
public:
    void Cancel() { cancelled_.store(true); }
    bool Cancelled() const { return cancelled_.load(std::memory_order_relaxed); }
    // Throws LoadCancelled once a stop was asked for.
    void Check() const {
        if (Cancelled())
            throw LoadCancelled{};
    }

    // A stage of `total` units starts; Add reports units done, from any thread.
    void Begin(LoadStage stage, int64_t total);
    void Add(int64_t units) { done_.fetch_add(units, std::memory_order_relaxed); }

    // The whole load's progress, 0 to 1000.
    int32_t Permille() const;

private:
    std::atomic<bool> cancelled_{false};
    std::atomic<int32_t> stage_{0};
    std::atomic<int64_t> total_{1};
    std::atomic<int64_t> done_{0};
};

} // namespace zentrope

namespace zentrope {

// For the steps, which run with or without a watch: adds units and checks for a stop.
inline void Advance(LoadWatch* watch, int64_t units) {
    if (watch) {
        watch->Add(units);
        watch->Check();
    }
}

} // namespace zentrope
