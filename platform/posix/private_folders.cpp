// SPDX-License-Identifier: MIT
#include "platform/private_folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "platform/process.h"

namespace platform {

namespace {

std::filesystem::path temporaryFolder() {
    std::error_code error;
    std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    return error ? std::filesystem::path("/tmp") : folder;
}

}  // namespace

int makeUserFolders(const std::string& folder) {
    if (folder.empty()) return ENOENT;
    // Each folder on the way, the top one first; mkdir's mode is not widened
    // by the umask, only narrowed, and 0700 has nothing left to narrow but
    // the owner's own bits, which no sane umask takes.
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        std::string step = folder.substr(0, slash);
        if (::mkdir(step.c_str(), 0700) != 0 && errno != EEXIST) return errno;
        if (slash == std::string::npos) break;
    }
    struct stat info;
    if (::stat(folder.c_str(), &info) != 0) return errno;
    return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
}

std::string makePrivateFolder(const std::string& prefix) {
    std::string pattern = (temporaryFolder() / (prefix + std::to_string(processId()) + "-XXXXXX")).string();
    return mkdtemp(pattern.data()) ? pattern : "";
}

void removeFolder(const std::string& folder) {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

void removeStalePrivateFolders(const std::string& prefix) {
    std::error_code error;
    // Stepped with the error code, which a range for would throw instead.
    for (std::filesystem::directory_iterator at(temporaryFolder(), error), last; !error && at != last;
         at.increment(error)) {
        const std::filesystem::directory_entry& entry = *at;
        std::string name = entry.path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        char* end = nullptr;
        long pid = std::strtol(name.c_str() + prefix.size(), &end, 10);
        if (pid <= 0 || *end != '-' || pid == processId() || processRuns(static_cast<int>(pid))) continue;
        struct stat info;
        if (::lstat(entry.path().c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) continue;
        removeFolder(entry.path().string());
    }
}

}  // namespace platform
