// SPDX-License-Identifier: MIT
#include "platform/safe_file.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/process.h"
#include "platform/saving_names.h"
#include "platform/windows/text.h"

namespace platform {

namespace {

// Refuses to replace what is not the player's file as a regular file, a
// file whose contents cannot be read, or one the player made read-only:
// saving over it would lose what it holds or undo the player's choice.
std::string whyNotToReplace(const std::string& path) {
    std::wstring name = windows::wide(path);
    DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return {};
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) return "not a regular file";
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string(std::strerror(windows::lastErrorNumber())) + " to read it, so it is not saved over";
    CloseHandle(file);
    if (attributes & FILE_ATTRIBUTE_READONLY) return std::strerror(EACCES);
    return {};
}

// Removes FOLDER's "STEM.saving-PID" files of dead processes; any stem when
// STEM is empty.
void removeStale(const std::filesystem::path& folder, const std::string& stem) {
    std::error_code error;
    // Stepped with the error code, which a range for would throw instead.
    for (std::filesystem::directory_iterator at(folder, error), end; !error && at != end; at.increment(error)) {
        const std::filesystem::directory_entry& entry = *at;
        std::string name = windows::utf8Of(entry.path().filename());
        int pid = savingProcessOf(name, stem);
        if (pid < 0 || (pid != processId() && processRuns(pid))) continue;
        DeleteFileW(entry.path().c_str());
    }
}

}  // namespace

bool SafeFile::begin(const std::string& path) {
    abandon();
    path_ = path;
    failure_.clear();
    error_ = 0;
    if (std::string refusal = whyNotToReplace(path_); !refusal.empty()) {
        failure_ = path_ + ": " + refusal;
        return false;
    }
    // One save at a time per process, so the process id makes the name unique.
    temporaryPath_ = savingNameOf(path_, processId());
    std::wstring temporary = windows::wide(temporaryPath_);
    DeleteFileW(temporary.c_str());
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return fail(windows::lastErrorNumber());
    fd_ = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
    if (fd_ < 0) {
        CloseHandle(file);
        DeleteFileW(temporary.c_str());
        return fail(EMFILE);
    }
    return true;
}

int writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        unsigned chunk = size > (1u << 30) ? (1u << 30) : static_cast<unsigned>(size);
        int done = _write(fd, data, chunk);
        if (done <= 0) return done < 0 ? errno : ENOSPC;
        data += done;
        size -= static_cast<size_t>(done);
    }
    return 0;
}

// The bytes reach the disk before the new file takes the old one's name, and
// the rename is written through: after a power cut the table is the old one
// or the new one, whole.
bool SafeFile::finish() {
    if (fd_ < 0) return false;
    if (failure_.empty() && !FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(fd_))))
        fail(windows::lastErrorNumber());
    if (_close(fd_) != 0) fail(errno);
    fd_ = -1;
    std::wstring temporary = windows::wide(temporaryPath_);
    if (failure_.empty() && !MoveFileExW(temporary.c_str(), windows::wide(path_).c_str(),
                                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        fail(windows::lastErrorNumber());
    if (!failure_.empty()) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

void SafeFile::abandon() {
    if (fd_ < 0) return;
    _close(fd_);
    fd_ = -1;
    DeleteFileW(windows::wide(temporaryPath_).c_str());
}

void removeStaleSaves(const std::string& path) {
    std::filesystem::path file = windows::pathOf(path);
    removeStale(file.parent_path().empty() ? std::filesystem::path(L".") : file.parent_path(),
                windows::utf8Of(file.filename()));
}

void removeStaleSavesIn(const std::string& folder) { removeStale(windows::pathOf(folder), {}); }

}  // namespace platform
