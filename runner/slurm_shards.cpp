#include "runner/slurm_shards.h"

#include <QList>

namespace zentrope {

ShardRange ShardRangeOf(int index, int shards, int sequences) {
    const auto bound = [&](int i) {
        return static_cast<int>(static_cast<qint64>(i) * sequences / shards);
    };
    return {bound(index), bound(index + 1) - bound(index)};
}

ShardState ShardStateOf(QStringView slurmState) {
    const QStringView name = slurmState.trimmed().split(u' ').front();
    static const struct {
        QStringView name;
        ShardState state;
    } names[] = {
        {u"PENDING", ShardState::Pending},      {u"CONFIGURING", ShardState::Pending},
        {u"REQUEUED", ShardState::Pending},     {u"REQUEUE_HOLD", ShardState::Pending},
        {u"REQUEUE_FED", ShardState::Pending},  {u"RESIZING", ShardState::Pending},
        {u"SUSPENDED", ShardState::Pending},    {u"RUNNING", ShardState::Running},
        {u"COMPLETING", ShardState::Running},   {u"SIGNALING", ShardState::Running},
        {u"STAGE_OUT", ShardState::Running},    {u"STOPPED", ShardState::Running},
        {u"COMPLETED", ShardState::Completed},  {u"FAILED", ShardState::Failed},
        {u"BOOT_FAIL", ShardState::Failed},     {u"NODE_FAIL", ShardState::Failed},
        {u"OUT_OF_MEMORY", ShardState::Failed}, {u"PREEMPTED", ShardState::Failed},
        {u"SPECIAL_EXIT", ShardState::Failed},  {u"REVOKED", ShardState::Failed},
        {u"TIMEOUT", ShardState::TimedOut},     {u"DEADLINE", ShardState::TimedOut},
        {u"CANCELLED", ShardState::Cancelled},
    };
    for (const auto& entry : names)
        if (name == entry.name)
            return entry.state;
    return ShardState::Unknown;
}

bool IsFinal(ShardState state) {
    return state == ShardState::Completed || state == ShardState::Failed ||
           state == ShardState::TimedOut || state == ShardState::Cancelled ||
           state == ShardState::Vanished;
}

} // namespace zentrope
