// SPDX-License-Identifier: MIT
#include "platform/process.h"

#include <windows.h>

namespace platform {

int processId() { return static_cast<int>(GetCurrentProcessId()); }

bool processRuns(int pid) {
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    // No such process; one we may not look at still runs.
    if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
    bool runs = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return runs;
}

}  // namespace platform
