// SPDX-License-Identifier: MIT
#include "platform/process.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

int processId() { return static_cast<int>(::getpid()); }

bool processRuns(int pid) { return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH; }

}  // namespace platform
