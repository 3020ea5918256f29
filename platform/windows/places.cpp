// SPDX-License-Identifier: MIT
#include "platform/places.h"

// windows.h before the shell's headers, which need its types.
#include <windows.h>

#include <shlobj.h>

#include "platform/windows/text.h"

namespace platform {

namespace {

std::optional<std::string> dataHomeInstead;

// %APPDATA% as the shell knows it (the roaming application data of the
// user, C:\Users\NAME\AppData\Roaming), which a normal user may write and
// which follows a roaming profile. The variable itself may be missing or
// stale; the shell's answer is not.
std::string roamingAppData() {
    PWSTR folder = nullptr;
    std::string path;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &folder)))
        path = windows::utf8(folder);
    CoTaskMemFree(folder);
    return path;
}

// The hiscore table, the replays and settings.ini share one folder, named as
// Windows programs name theirs.
std::string gameFolderIn(const std::string& base) { return base.empty() ? "" : base + "\\Quandrite"; }

}  // namespace

std::string dataFolder() { return gameFolderIn(dataHomeInstead ? *dataHomeInstead : roamingAppData()); }

std::string configFolder() { return gameFolderIn(roamingAppData()); }

std::string replayFolder() {
    std::string data = dataFolder();
    return data.empty() ? "" : data + "\\replays";
}

void overrideDataHome(std::optional<std::string> folder) { dataHomeInstead = std::move(folder); }

std::optional<std::string> dataHomeOverride() { return dataHomeInstead; }

}  // namespace platform
