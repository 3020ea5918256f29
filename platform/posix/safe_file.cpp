// SPDX-License-Identifier: MIT
#include "platform/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/lasting_storage.h"
#include "platform/process.h"
#include "platform/saving_names.h"

namespace platform {

namespace {

// A file the player has linked elsewhere (into a synced folder, say) is
// saved where the link points, so the link stays; a link whose file is gone
// gets its file back where it points.
std::string followLinks(const std::string& path) {
    std::filesystem::path at = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info;
        if (::lstat(at.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return at.string();
        std::error_code error;
        std::filesystem::path target = std::filesystem::read_symlink(at, error);
        if (error) return at.string();
        at = target.is_absolute() ? target : at.parent_path() / target;
    }
    return at.string();
}

// Refuses to replace what is not the player's file as a regular file, or a
// file whose contents cannot be read: saving over it would lose what it holds.
std::string whyNotToReplace(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) return {};
    if (!S_ISREG(info.st_mode)) return "not a regular file";
    if (::faccessat(AT_FDCWD, path.c_str(), R_OK, AT_EACCESS) != 0)
        return std::string(std::strerror(errno)) + " to read it, so it is not saved over";
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) return std::strerror(errno);
    return {};
}

// Makes the rename itself survive a power cut; the file is already whole,
// so a failure here is not a failed save.
void syncFolderOf(const std::string& path) {
    std::string folder = std::filesystem::path(path).parent_path().string();
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Removes FOLDER's "STEM.saving-PID" files of dead processes; any stem when
// STEM is empty.
void removeStale(const std::filesystem::path& folder, const std::string& stem) {
    std::error_code error;
    // Stepped with the error code, which a range for would throw instead.
    for (std::filesystem::directory_iterator at(folder, error), end; !error && at != end; at.increment(error)) {
        const std::filesystem::directory_entry& entry = *at;
        std::string name = entry.path().filename().string();
        int pid = savingProcessOf(name, stem);
        if (pid < 0 || (pid != processId() && processRuns(pid))) continue;
        ::unlink(entry.path().c_str());
    }
}

}  // namespace

bool SafeFile::begin(const std::string& path) {
    abandon();
    path_ = followLinks(path);
    failure_.clear();
    error_ = 0;
    if (std::string refusal = whyNotToReplace(path_); !refusal.empty()) {
        failure_ = path_ + ": " + refusal;
        return false;
    }
    // One save at a time per process, so the process id makes the name unique.
    temporaryPath_ = savingNameOf(path_, processId());
    ::unlink(temporaryPath_.c_str());
    fd_ = ::open(temporaryPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0) return fail(errno);
    // The new file keeps the permissions the player gave the old one.
    struct stat old;
    if (::stat(path_.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(fd_, old.st_mode & 07777);
    return true;
}

int writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t done = ::write(fd, data, size);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return done < 0 ? errno : ENOSPC;
        data += done;
        size -= static_cast<size_t>(done);
    }
    return 0;
}

bool SafeFile::finish() {
    if (fd_ < 0) return false;
    if (failure_.empty() && ::fsync(fd_) != 0) fail(errno);
    if (::close(fd_) != 0) fail(errno);
    fd_ = -1;
    if (failure_.empty() && std::rename(temporaryPath_.c_str(), path_.c_str()) != 0) fail(errno);
    if (!failure_.empty()) {
        ::unlink(temporaryPath_.c_str());
        return false;
    }
    syncFolderOf(path_);
    keepSavedFiles();
    return true;
}

void SafeFile::abandon() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
    ::unlink(temporaryPath_.c_str());
}

void removeStaleSaves(const std::string& path) {
    std::filesystem::path file(followLinks(path));
    removeStale(file.parent_path().empty() ? "." : file.parent_path(), file.filename().string());
}

void removeStaleSavesIn(const std::string& folder) { removeStale(folder, {}); }

}  // namespace platform
