// SPDX-License-Identifier: MIT
#include "platform/file_lock.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "platform/windows/text.h"

namespace platform {

// The descriptor holds the handle of "NAME.lock", locked with LockFileEx:
// the system lets go of it when the process ends, however it ends.
bool FileLock::acquire(const std::string& path, int timeoutMs) {
    release();
    const std::string lockPath = path + ".lock";
    HANDLE file = CreateFileW(windows::wide(lockPath).c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        failure_ = lockPath + ": " + std::strerror(windows::lastErrorNumber());
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    // Another window saves in a few milliseconds; a holder that keeps it for
    // seconds is stuck, and the save goes on without it.
    for (;;) {
        OVERLAPPED at{};
        if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) break;
        DWORD error = GetLastError();
        if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) {
            failure_ = lockPath + ": " + std::strerror(windows::errorNumber(error));
            CloseHandle(file);
            return false;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            failure_ = lockPath + ": held by another window of the game";
            CloseHandle(file);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    fd_ = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDWR);
    if (fd_ < 0) {
        CloseHandle(file);
        failure_ = lockPath + ": " + std::strerror(EMFILE);
        return false;
    }
    failure_.clear();
    return true;
}

void FileLock::release() {
    if (fd_ < 0) return;
    HANDLE file = reinterpret_cast<HANDLE>(_get_osfhandle(fd_));
    OVERLAPPED at{};
    UnlockFileEx(file, 0, 1, 0, &at);
    _close(fd_);
    fd_ = -1;
}

}  // namespace platform
