#include "runner/run_backend.h"

#include "runner/local_backend.h"

namespace zentrope {

std::vector<BackendKind>& BackendKinds() {
    static std::vector<BackendKind> kinds{LocalBackendKind()};
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
