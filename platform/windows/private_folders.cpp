// SPDX-License-Identifier: MIT
#include "platform/private_folders.h"

#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/windows/text.h"

namespace platform {

namespace {

// The user's own temporary folder (%TEMP%), which other users cannot enter.
std::filesystem::path temporaryFolder() {
    wchar_t folder[MAX_PATH + 1];
    DWORD size = GetTempPathW(MAX_PATH + 1, folder);
    return size > 0 && size <= MAX_PATH ? std::filesystem::path(folder) : std::filesystem::path(L".");
}

}  // namespace

// A folder made in the user's profile (%APPDATA%) takes the profile's
// permissions, which already keep other users out: nothing to narrow.
int makeUserFolders(const std::string& folder) {
    if (folder.empty()) return ENOENT;
    return makeFolders(folder);
}

std::string makePrivateFolder(const std::string& prefix) {
    std::random_device random;
    const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = prefix + std::to_string(processId()) + "-";
        for (int i = 0; i < 6; ++i) name += letters[random() % (sizeof letters - 1)];
        std::filesystem::path folder = temporaryFolder() / windows::wide(name);
        if (CreateDirectoryW(folder.c_str(), nullptr)) return windows::utf8Of(folder);
        if (GetLastError() != ERROR_ALREADY_EXISTS) return "";
    }
    return "";
}

void removeFolder(const std::string& folder) {
    std::error_code ignored;
    std::filesystem::remove_all(windows::pathOf(folder), ignored);
}

void removeStalePrivateFolders(const std::string& prefix) {
    std::error_code error;
    // Stepped with the error code, which a range for would throw instead.
    for (std::filesystem::directory_iterator at(temporaryFolder(), error), last; !error && at != last;
         at.increment(error)) {
        const std::filesystem::directory_entry& entry = *at;
        std::string name = windows::utf8Of(entry.path().filename());
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        char* end = nullptr;
        long pid = std::strtol(name.c_str() + prefix.size(), &end, 10);
        if (pid <= 0 || *end != '-' || pid == processId() || processRuns(static_cast<int>(pid))) continue;
        std::error_code notFolder;
        if (!entry.is_directory(notFolder) || entry.is_symlink(notFolder)) continue;
        std::error_code ignored;
        std::filesystem::remove_all(entry.path(), ignored);
    }
}

}  // namespace platform
