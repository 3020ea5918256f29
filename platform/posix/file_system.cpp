// SPDX-License-Identifier: MIT
#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/safe_file.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

// Reads until the end or until BYTES holds more than LIMIT; 0 or the error.
int readUpTo(int fd, size_t limit, std::string& bytes) {
    char chunk[65536];
    while (bytes.size() <= limit) {
        ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return errno;
        if (got == 0) break;
        bytes.append(chunk, static_cast<size_t>(got));
    }
    return 0;
}

}  // namespace

int makeFolders(const std::string& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    return error ? error.value() : 0;
}

std::vector<std::string> regularFilesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    // Stepped with the error code: a folder that fails half-way gives the
    // names read so far instead of an exception, which ends the program.
    for (fs::directory_iterator at(folder, error), end; !error && at != end; at.increment(error))
        if (at->is_regular_file(error)) names.push_back(at->path().filename().string());
    return names;
}

void removeFile(const std::string& path) {
    std::error_code ignored;
    fs::remove(path, ignored);
}

std::string whyNotWritable(const std::string& path) {
    fs::path folder = fs::path(path).parent_path();
    if (folder.empty()) folder = ".";
    struct stat info;
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return path + ": " + std::strerror(EISDIR);
    if (::stat(folder.c_str(), &info) != 0) return folder.string() + ": " + std::strerror(errno);
    if (!S_ISDIR(info.st_mode)) return folder.string() + ": " + std::strerror(ENOTDIR);
    // The save's own first step, undone: a name too long for the folder, a
    // read-only disk or a file that may not be replaced shows up now.
    SafeFile probe;
    if (!probe.begin(path)) return probe.failure();
    probe.abandon();
    return {};
}

FileRead readRegularFile(const std::string& path, size_t limit, std::string& bytes) {
    bytes.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    // A folder on the way that is a file: the file is not there either.
    if (fd < 0)
        return {errno == ENOENT || errno == ENOTDIR ? FileRead::Missing : FileRead::CannotOpen, std::strerror(errno)};
    FileRead result;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        result.outcome = FileRead::NotRegular;
    } else if (static_cast<uintmax_t>(info.st_size) > limit) {
        result.outcome = FileRead::TooLarge;
    } else if (int error = readUpTo(fd, limit, bytes); error != 0) {
        result = {FileRead::CannotRead, std::strerror(error)};
    } else if (bytes.size() > limit) {
        result.outcome = FileRead::TooLarge;
    }
    ::close(fd);
    if (result.outcome != FileRead::Read) bytes.clear();
    return result;
}

int openInPlace(const std::string& path, int& error) {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
        int writeError = errno;
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0 && errno == ENOENT) errno = writeError;
    }
    if (fd < 0) {
        error = errno;
        return -1;
    }
    // Only a regular file is used, as anything else could stall or never end.
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        error = 0;
        return -1;
    }
    return fd;
}

long readSome(int fd, char* data, size_t size) {
    ssize_t got;
    do got = ::read(fd, data, size);
    while (got < 0 && errno == EINTR);
    return static_cast<long>(got);
}

int stepBack(int fd, size_t count) { return ::lseek(fd, -static_cast<off_t>(count), SEEK_CUR) < 0 ? errno : 0; }

void closeDescriptor(int fd) { ::close(fd); }

int readFileStart(const std::string& path, size_t limit, std::string& bytes) {
    bytes.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return errno;
    int error = readUpTo(fd, limit, bytes);
    ::close(fd);
    if (bytes.size() > limit) bytes.resize(limit);
    return error;
}

}  // namespace platform
