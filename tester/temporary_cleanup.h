// A run killed by a signal (Cancel sends SIGTERM; a library's failed assertion aborts) never
// reaches the destructor that removes its temporary result file: the handlers installed here
// remove the registered files and let the signal end the process as it would have.
#pragma once

#include <string>

namespace zentrope {

// Installs the handlers for SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGABRT, SIGSEGV, SIGBUS and
// SIGFPE once; later calls do nothing.
void RemoveTemporariesOnSignals();

// Files the handlers remove; at most a few at a time (false when no slot is free). Called
// from one thread.
bool RegisterTemporary(const std::string& path);
void ForgetTemporary(const std::string& path);

} // namespace zentrope
