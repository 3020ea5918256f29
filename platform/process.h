// SPDX-License-Identifier: MIT
#pragma once
// This process and others: the id that names our temporary files and
// folders, and whether the process that left one behind still runs.

namespace platform {

int processId();
// True also when the process runs but is not ours to signal.
bool processRuns(int pid);

}  // namespace platform
