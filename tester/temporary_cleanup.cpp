#include "tester/temporary_cleanup.h"

#include <climits>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace zentrope {
namespace {

constexpr int Slots = 4;

// Read by the handler: only fixed buffers, and a flag set after each path is complete.
struct Slot {
    char path[PATH_MAX] = {};
    volatile sig_atomic_t used = 0;
};
Slot slots[Slots];

void RemoveAndReraise(int signal) {
    for (Slot& slot : slots)
        if (slot.used)
            unlink(slot.path);
    struct sigaction fallback = {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(signal, &fallback, nullptr);
    raise(signal);
}

} // namespace

void RemoveTemporariesOnSignals() {
    static const bool installed = [] {
        struct sigaction action = {};
        action.sa_handler = RemoveAndReraise;
        sigfillset(&action.sa_mask);
        for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGABRT, SIGSEGV, SIGBUS, SIGFPE})
            sigaction(signal, &action, nullptr);
        return true;
    }();
    (void)installed;
}

bool RegisterTemporary(const std::string& path) {
    if (path.size() >= PATH_MAX)
        return false;
    for (Slot& slot : slots)
        if (!slot.used) {
            std::memcpy(slot.path, path.c_str(), path.size() + 1);
            slot.used = 1;
            return true;
        }
    return false;
}

void ForgetTemporary(const std::string& path) {
    for (Slot& slot : slots)
        if (slot.used && path == slot.path)
            slot.used = 0;
}

} // namespace zentrope
