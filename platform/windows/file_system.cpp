// SPDX-License-Identifier: MIT
#include "platform/file_system.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>

#include "platform/safe_file.h"
#include "platform/windows/text.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A handle to read PATH; the others may go on reading, writing, and
// replacing it by renaming (a save of another window of the game).
HANDLE openForReading(const std::string& path) {
    return CreateFileW(windows::wide(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// A file on a disk, not a console, a pipe or a device put in its place.
bool isDiskFile(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info;
    return GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info) &&
           !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Reads until the end or until BYTES holds more than LIMIT; 0 or the error.
int readUpTo(HANDLE file, size_t limit, std::string& bytes) {
    char chunk[65536];
    while (bytes.size() <= limit) {
        DWORD got = 0;
        if (!ReadFile(file, chunk, sizeof chunk, &got, nullptr)) return windows::lastErrorNumber();
        if (got == 0) break;
        bytes.append(chunk, got);
    }
    return 0;
}

bool missing(int error) { return error == ENOENT || error == ENOTDIR; }

}  // namespace

int makeFolders(const std::string& folder) {
    std::error_code error;
    fs::create_directories(windows::pathOf(folder), error);
    if (!error) return 0;
    // The library tells Windows's own code; the layers above read errno's.
    return error.category() == std::system_category() ? windows::errorNumber(static_cast<DWORD>(error.value()))
                                                      : error.value();
}

std::vector<std::string> regularFilesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    // Stepped with the error code: a folder that fails half-way gives the
    // names read so far instead of an exception, which ends the program.
    for (fs::directory_iterator at(windows::pathOf(folder), error), end; !error && at != end; at.increment(error))
        if (at->is_regular_file(error)) names.push_back(windows::utf8Of(at->path().filename()));
    return names;
}

void removeFile(const std::string& path) { DeleteFileW(windows::wide(path).c_str()); }

std::string whyNotWritable(const std::string& path) {
    fs::path file = windows::pathOf(path);
    fs::path folder = file.parent_path();
    if (folder.empty()) folder = L".";
    DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return path + ": " + std::strerror(EISDIR);
    DWORD folderAttributes = GetFileAttributesW(folder.c_str());
    if (folderAttributes == INVALID_FILE_ATTRIBUTES)
        return windows::utf8Of(folder) + ": " + std::strerror(windows::lastErrorNumber());
    if (!(folderAttributes & FILE_ATTRIBUTE_DIRECTORY)) return windows::utf8Of(folder) + ": " + std::strerror(ENOTDIR);
    // The save's own first step, undone: a name the folder cannot hold, a
    // read-only disk or a file that may not be replaced shows up now.
    SafeFile probe;
    if (!probe.begin(path)) return probe.failure();
    probe.abandon();
    return {};
}

FileRead readRegularFile(const std::string& path, size_t limit, std::string& bytes) {
    bytes.clear();
    HANDLE file = openForReading(path);
    if (file == INVALID_HANDLE_VALUE) {
        int error = windows::lastErrorNumber();
        return {missing(error) ? FileRead::Missing : FileRead::CannotOpen, std::strerror(error)};
    }
    FileRead result;
    LARGE_INTEGER size{};
    if (!isDiskFile(file)) {
        result.outcome = FileRead::NotRegular;
    } else if (!GetFileSizeEx(file, &size) || static_cast<unsigned long long>(size.QuadPart) > limit) {
        result.outcome = FileRead::TooLarge;
    } else if (int error = readUpTo(file, limit, bytes); error != 0) {
        result = {FileRead::CannotRead, std::strerror(error)};
    } else if (bytes.size() > limit) {
        result.outcome = FileRead::TooLarge;
    }
    CloseHandle(file);
    if (result.outcome != FileRead::Read) bytes.clear();
    return result;
}

int openInPlace(const std::string& path, int& error) {
    std::wstring name = windows::wide(path);
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    int flags = _O_RDWR | _O_BINARY;
    if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED) {
        // A table the player made read-only is still read.
        file = CreateFileW(name.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_NOT_FOUND) SetLastError(ERROR_ACCESS_DENIED);
        flags = _O_RDONLY | _O_BINARY;
    }
    if (file == INVALID_HANDLE_VALUE) {
        error = windows::lastErrorNumber();
        return -1;
    }
    if (!isDiskFile(file)) {
        CloseHandle(file);
        error = 0;
        return -1;
    }
    int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), flags);
    if (fd < 0) {
        CloseHandle(file);
        error = EMFILE;
    }
    return fd;
}

long readSome(int fd, char* data, size_t size) {
    return _read(fd, data, size > INT_MAX ? INT_MAX : static_cast<unsigned>(size));
}

int stepBack(int fd, size_t count) { return _lseeki64(fd, -static_cast<long long>(count), SEEK_CUR) < 0 ? errno : 0; }

void closeDescriptor(int fd) { _close(fd); }

int readFileStart(const std::string& path, size_t limit, std::string& bytes) {
    bytes.clear();
    HANDLE file = openForReading(path);
    if (file == INVALID_HANDLE_VALUE) return windows::lastErrorNumber();
    int error = readUpTo(file, limit, bytes);
    CloseHandle(file);
    if (bytes.size() > limit) bytes.resize(limit);
    return error;
}

}  // namespace platform
