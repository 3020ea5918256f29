// SPDX-License-Identifier: MIT
#pragma once
// Shared helpers for the tests: a scratch folder that is removed afterwards,
// an environment variable set for a while. Every test process also starts
// with XDG_CONFIG_HOME and XDG_DATA_HOME of its own (test_support.cpp), so
// that nothing of the player's settings, table or replays is read or written.
#include <functional>
#include <string>

namespace testing_support {

class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Sets an environment variable (unsets it for nullptr) for the life of the
// object and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::string old_;
    bool had_ = false;
};

std::string readWholeFile(const std::string& path);
void writeWholeFile(const std::string& path, const std::string& bytes);

// Runs body in a child process as an ordinary user (uid and gid 65534 when
// the tests run as root, for whom file permissions mean nothing) and gives
// its result as the child's exit code: 100 when the user could not be
// changed, 101 when the child did not exit normally.
int exitCodeAsOrdinaryUser(const std::function<int()>& body);
// The same as the user and group USER (when root), which need no passwd entry.
int exitCodeAsUser(unsigned user, const std::function<int()>& body);

// While it lives, writes past `bytes` bytes into any file fail, as on a full
// disk (for root too): the file-size limit, with SIGXFSZ ignored.
class FileSizeLimit {
public:
    explicit FileSizeLimit(unsigned long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    unsigned long oldSoftLimit_;
    void (*oldHandler_)(int);
};

}  // namespace testing_support
