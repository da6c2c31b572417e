#include "results/grid/load_watch.h"

#include <algorithm>

namespace zentrope {
namespace {

// Where each stage starts on the whole load's scale of 1000, by the share of the time it
// takes on a large file.
constexpr int32_t StageStart[] = {0, 350, 750, 1000};

} // namespace

void LoadWatch::Begin(LoadStage stage, int64_t total) {
    done_.store(0);
    total_.store(std::max<int64_t>(total, 1));
    stage_.store(static_cast<int32_t>(stage));
}

int32_t LoadWatch::Permille() const {
    const int32_t stage = stage_.load();
    const double share = std::clamp(double(done_.load()) / double(total_.load()), 0.0, 1.0);
    return StageStart[stage] + int32_t(share * (StageStart[stage + 1] - StageStart[stage]));
}

} // namespace zentrope
