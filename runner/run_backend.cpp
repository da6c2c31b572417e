#include "runner/run_backend.h"

#include "runner/local_backend.h"
#include "runner/slurm_backend.h"

namespace zentrope {

std::vector<BackendKind>& BackendKinds() {
    // A run on the cluster is started with the window's own plan; this one finds runs again.
    static std::vector<BackendKind> kinds{LocalBackendKind(), SlurmBackendKind(std::nullopt)};
    return kinds;
}

const BackendKind* FindBackendKind(const QString& name) {
    const QString wanted = name.isEmpty() ? LocalBackendName : name;
    for (const BackendKind& kind : BackendKinds())
        if (kind.name == wanted)
            return &kind;
    return nullptr;
}

} // namespace zentrope
