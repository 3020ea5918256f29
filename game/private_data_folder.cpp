#include "game/private_data_folder.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace game {

namespace {

// The folder names carry the process id, so a live replay's folder is told
// from a dead one's.
const std::string kPrefix = "quandrite-demo-";

std::filesystem::path temporaryFolder() {
    std::error_code error;
    std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    return error ? std::filesystem::path("/tmp") : folder;
}

bool processRuns(pid_t pid) { return ::kill(pid, 0) == 0 || errno != ESRCH; }

}  // namespace

PrivateDataFolder::PrivateDataFolder() {
    std::string pattern = (temporaryFolder() / (kPrefix + std::to_string(getpid()) + "-XXXXXX")).string();
    if (mkdtemp(pattern.data())) {
        path_ = pattern;
        setenv("XDG_DATA_HOME", path_.c_str(), 1);
    }
}

PrivateDataFolder::~PrivateDataFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

void removeStalePrivateDataFolders() {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(temporaryFolder(), error)) {
        std::string name = entry.path().filename().string();
        if (name.compare(0, kPrefix.size(), kPrefix) != 0) continue;
        char* end = nullptr;
        long pid = std::strtol(name.c_str() + kPrefix.size(), &end, 10);
        if (pid <= 0 || *end != '-' || pid == getpid() || processRuns(static_cast<pid_t>(pid))) continue;
        struct stat info;
        if (::lstat(entry.path().c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
            continue;
        std::error_code ignored;
        std::filesystem::remove_all(entry.path(), ignored);
    }
}

}  // namespace game
