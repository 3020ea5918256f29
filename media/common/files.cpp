// SPDX-License-Identifier: MIT
#include "media/files.h"

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "media/common/object_table.h"

namespace media {

namespace {

constexpr size_t kBufferSize = 4096;

std::string lastSaveFailure;
std::string lastOpenFailure;
// The game's data folder and why it could not be made (0 = it could).
std::string dataFolder;
int dataFolderError = 0;

std::string reason(int error) { return std::strerror(error); }

// One open file with its buffer. The buffer is either being filled for
// writing or holds bytes read ahead; switching between the two writes it out
// or moves the file position back over what was read ahead and not used.
// A file made by createFile is written to a temporary file, which replaces
// the real one only when the file is closed and every step succeeded.
class Record {
public:
    Record() = default;
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;
    // Closing is the release action, whether by closeFile or by reusing the number.
    ~Record() { finish(); }

    void attach(int fd, std::string path, std::string temporaryPath) {
        fd_ = fd;
        path_ = std::move(path);
        temporaryPath_ = std::move(temporaryPath);
    }

    bool write(const char* data, size_t size) {
        if (!failure_.empty()) return false;
        if (!writing_) {
            if (available_ > 0 && lseek(fd_, -static_cast<off_t>(available_), SEEK_CUR) < 0) return fail(errno);
            writing_ = true;
            available_ = kBufferSize;
            fill_ = 0;
        }
        if (size < available_) {
            std::memcpy(buffer_.data() + (kBufferSize - available_), data, size);
            available_ -= size;
            return true;
        }
        if (!flush()) return false;
        if (size >= kBufferSize) return writeAll(data, size);
        std::memcpy(buffer_.data(), data, size);
        available_ = kBufferSize - size;
        return true;
    }

    // The next byte, or -1 at the end of the file (or when reading fails).
    int readByte() {
        if (writing_) {
            flush();
            writing_ = false;
            available_ = 0;
            fill_ = 0;
        }
        if (available_ == 0) {
            ssize_t got;
            do got = ::read(fd_, buffer_.data(), kBufferSize);
            while (got < 0 && errno == EINTR);
            if (got <= 0) return -1;
            fill_ = static_cast<size_t>(got);
            available_ = fill_;
        }
        return static_cast<unsigned char>(buffer_[fill_ - available_--]);
    }

    // Gives back the byte just returned by readByte; it is still in the buffer.
    void unreadByte() { ++available_; }

    bool lineCut = false;

private:
    bool fail(int error) {
        if (failure_.empty()) failure_ = reason(error);
        return false;
    }

    bool writeAll(const char* data, size_t size) {
        while (size > 0) {
            ssize_t done = ::write(fd_, data, size);
            if (done < 0 && errno == EINTR) continue;
            if (done <= 0) return fail(done < 0 ? errno : ENOSPC);
            data += done;
            size -= static_cast<size_t>(done);
        }
        return true;
    }

    bool flush() {
        if (!writing_ || available_ == kBufferSize) return true;
        size_t used = kBufferSize - available_;
        available_ = kBufferSize;
        return failure_.empty() && writeAll(buffer_.data(), used);
    }

    void finish() {
        if (fd_ < 0) return;
        flush();
        if (temporaryPath_.empty()) {
            ::close(fd_);
            fd_ = -1;
            return;
        }
        if (failure_.empty() && ::fsync(fd_) != 0) fail(errno);
        if (::close(fd_) != 0) fail(errno);
        fd_ = -1;
        if (failure_.empty() && std::rename(temporaryPath_.c_str(), path_.c_str()) != 0) fail(errno);
        if (!failure_.empty()) {
            ::unlink(temporaryPath_.c_str());
            lastSaveFailure = path_ + ": " + failure_;
            return;
        }
        syncFolderOf(path_);
        lastSaveFailure.clear();
    }

    // Makes the rename itself survive a power cut; the file is already whole,
    // so a failure here is not a failed save.
    static void syncFolderOf(const std::string& path) {
        std::string folder = std::filesystem::path(path).parent_path().string();
        int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return;
        ::fsync(fd);
        ::close(fd);
    }

    int fd_ = -1;
    std::string path_;
    std::string temporaryPath_;  // empty for a file opened with openFile
    std::vector<char> buffer_ = std::vector<char>(kBufferSize);
    size_t available_ = 0;  // free bytes while writing, unread bytes while reading
    size_t fill_ = 0;       // bytes the last read from disk put in the buffer
    bool writing_ = false;  // a new file starts reading, with nothing buffered
    std::string failure_;   // the first error of a save; later writes are skipped
};

ObjectTable<Record>& files() {
    static ObjectTable<Record> table;
    return table;
}

std::string dataHome() {
    // Relative values are to be ignored, as for every XDG variable.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/') return xdg;
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* user = getpwuid(getuid());
        home = user ? user->pw_dir : ".";
    }
    return std::string(home) + "/.local/share";
}

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

bool processRuns(pid_t pid) { return ::kill(pid, 0) == 0 || errno != ESRCH; }

// A save killed half-way leaves its temporary file; those of processes that
// no longer run are removed. Another running game's save is left alone.
void removeStaleSaves(const std::string& path) {
    std::filesystem::path file(path);
    std::string prefix = file.filename().string() + ".saving-";
    std::filesystem::path folder = file.parent_path().empty() ? "." : file.parent_path();
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        std::string name = entry.path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        std::string digits = name.substr(prefix.size());
        if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
            continue;
        pid_t pid = static_cast<pid_t>(std::stol(digits));
        if (pid != getpid() && processRuns(pid)) continue;
        ::unlink(entry.path().c_str());
    }
}

// Refuses to replace what is not the player's hiscore as a regular file, or
// a file whose contents cannot be read: saving over it would lose the table.
std::string whyNotToReplace(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) return {};
    if (!S_ISREG(info.st_mode)) return "not a regular file";
    if (::faccessat(AT_FDCWD, path.c_str(), R_OK, AT_EACCESS) != 0)
        return reason(errno) + " to read it, so it is not saved over";
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) return reason(errno);
    return {};
}

}  // namespace

void startFiles() { files(); }

void closeAllFiles() { files().releaseAll(); }

std::string resolveFileName(const std::string& name) {
    if (name.empty() || name[0] != '\\') return name;
    std::string folder = dataHome() + "/quandrite";
    // A folder that cannot be made shows up when the file is opened or saved.
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    dataFolder = folder;
    dataFolderError = error ? error.value() : 0;
    return folder + "/" + name.substr(1);
}

bool createFile(int number, const std::string& name) {
    files().release(number);
    std::string path = followLinks(resolveFileName(name));
    lastSaveFailure.clear();
    if (std::string refusal = whyNotToReplace(path); !refusal.empty()) {
        lastSaveFailure = path + ": " + refusal;
        return false;
    }
    // One save at a time per process, so the process id makes the name unique.
    std::string temporaryPath = path + ".saving-" + std::to_string(getpid());
    ::unlink(temporaryPath.c_str());
    int fd = ::open(temporaryPath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        // The folder that could not be made is the cause, not the missing file.
        bool noFolder = errno == ENOENT && dataFolderError != 0 && path.compare(0, dataFolder.size(), dataFolder) == 0;
        lastSaveFailure = noFolder ? dataFolder + ": " + reason(dataFolderError) : path + ": " + reason(errno);
        return false;
    }
    // The new file keeps the permissions the player gave the old one.
    struct stat old;
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(fd, old.st_mode & 07777);
    files().obtainSlot(number).attach(fd, path, temporaryPath);
    return true;
}

bool openFile(int number, const std::string& name) {
    files().release(number);
    std::string path = resolveFileName(name);
    lastOpenFailure.clear();
    removeStaleSaves(followLinks(path));
    // Non-blocking so that a device or pipe put in the file's place cannot stall
    // the open. A file the player made read-only is still read.
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
        int writeError = errno;
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0 && errno == ENOENT) errno = writeError;
    }
    if (fd < 0) {
        bool noFolder = errno == ENOENT && dataFolderError != 0 && path.compare(0, dataFolder.size(), dataFolder) == 0;
        lastOpenFailure = noFolder ? dataFolder + ": " + reason(dataFolderError) : path + ": " + reason(errno);
        return false;
    }
    // Only a regular file is used, as anything else could stall or never end.
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        lastOpenFailure = path + ": not a regular file";
        return false;
    }
    files().obtainSlot(number).attach(fd, path, {});
    return true;
}

int64_t writeLine(int number, const std::string& text) {
    Record* record = files().lookup(number);
    if (!record) return 0;
    if (!record->write(text.data(), text.size()) || !record->write("\r\n", 2)) return 0;
    return static_cast<int64_t>(text.size()) + 2;
}

std::string readLine(int number) {
    Record* record = files().lookup(number);
    if (!record) return {};
    std::string line;
    record->lineCut = false;
    for (;;) {
        int c = record->readByte();
        if (c <= 0 || c == '\n') break;
        if (c == '\r') {
            int next = record->readByte();
            if (next >= 0 && next != '\n') record->unreadByte();
            break;
        }
        if (line.size() < kMaxLineLength) {
            line.push_back(static_cast<char>(c));
        } else {
            record->lineCut = true;
        }
    }
    return line;
}

bool lineWasCut(int number) {
    const Record* record = files().lookup(number);
    return record && record->lineCut;
}

void closeFile(int number) { files().release(number); }

std::string lastSaveError() { return lastSaveFailure; }

std::string lastOpenError() { return lastOpenFailure; }

}  // namespace media
