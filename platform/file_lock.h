// SPDX-License-Identifier: MIT
#pragma once
// Two windows of the game saving the same file one after the other would
// each write what it read at its start, and the second would drop the
// first's change. A save therefore reads the file as it is now and writes it
// back while holding this advisory lock, an flock on "NAME.lock" beside the
// file (the lock file stays; removing it could let two holders in at once).
#include <string>

namespace platform {

class FileLock {
public:
    FileLock() = default;
    ~FileLock() { release(); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Waits up to `timeoutMs` for the lock of the file PATH; false, with
    // failure() set, when it cannot be had.
    bool acquire(const std::string& path, int timeoutMs);
    void release();
    bool held() const { return fd_ >= 0; }
    // "<lock file>: <reason>" of the last acquire that failed.
    const std::string& failure() const { return failure_; }

private:
    int fd_ = -1;
    std::string failure_;
};

}  // namespace platform
