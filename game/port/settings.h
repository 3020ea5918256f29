// SPDX-License-Identifier: MIT
#pragma once
// The player's settings, kept between runs in
// $XDG_CONFIG_HOME/quandrite/settings.ini (~/.config/quandrite/settings.ini):
// one "key = value" a line, "#" or ";" starts a comment. Every key may be
// left out; a missing file gives the original game.
//   sound      = on | off        the title screen's S/M switch
//   fullscreen = on | off
//   scale      = stretch | aspect | integer
//   size       = WIDTHxHEIGHT    the window's inner size (1020x607)
//   renderer   = auto | software | gpu
//   volume     = 0..100          the loudness of everything (100 as made)
#include <string>
#include <vector>

namespace game {

struct Settings {
    bool sound = true;
    bool fullscreen = false;
    std::string scale = "stretch";
    int width = 1020;
    int height = 607;
    std::string renderer = "auto";
    int volume = 100;
    bool operator==(const Settings&) const = default;
};

// The window's inner size is kept within these bounds.
constexpr int kMinWindowSide = 64;
constexpr int kMaxWindowSide = 16384;

// Empty when the player has no home folder to keep it in.
std::string settingsPath();

// Each line that is not understood is named in `complaints` ("line 3: ...")
// and leaves its value as it was.
Settings parseSettings(const std::string& text, std::vector<std::string>& complaints);
std::string formatSettings(const Settings& settings);

// A file that is missing or cannot be read gives the defaults; complaints
// about its lines go to stderr.
Settings readSettingsFile(const std::string& path);
// Saves it whole or not at all (platform/safe_file.h); makes the folder if
// needed. `error` names the file and the system's reason.
bool writeSettingsFile(const std::string& path, const Settings& settings, std::string& error);

}  // namespace game
