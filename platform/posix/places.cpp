// SPDX-License-Identifier: MIT
#include "platform/places.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace platform {

namespace {

std::optional<std::string> dataHomeInstead;

std::string home() {
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    // A service or a cron job may run without HOME; the player's files are
    // still theirs, not the current folder's.
    const passwd* user = getpwuid(getuid());
    return user && user->pw_dir && *user->pw_dir ? user->pw_dir : "";
}

// The base folder a variable names, or HOME/FALLBACK.
std::string base(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    if (value && value[0] == '/') return value;
    std::string folder = home();
    return folder.empty() ? "" : folder + fallback;
}

std::string gameFolderIn(const std::string& base) { return base.empty() ? "" : base + "/quandrite"; }

}  // namespace

std::string dataFolder() {
    return gameFolderIn(dataHomeInstead ? *dataHomeInstead : base("XDG_DATA_HOME", "/.local/share"));
}

std::string configFolder() { return gameFolderIn(base("XDG_CONFIG_HOME", "/.config")); }

std::string replayFolder() {
    std::string data = dataFolder();
    return data.empty() ? "" : data + "/replays";
}

void overrideDataHome(std::optional<std::string> folder) { dataHomeInstead = std::move(folder); }

std::optional<std::string> dataHomeOverride() { return dataHomeInstead; }

}  // namespace platform
