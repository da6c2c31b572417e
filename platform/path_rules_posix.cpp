#include "platform/path_rules.h"

namespace zentrope {

const PathRules& HostPathRules() {
    static constexpr PathRules Posix{"/", true};
    return Posix;
}

} // namespace zentrope
