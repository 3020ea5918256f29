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
//   filter     = auto | sharp | smooth   how the picture is scaled: sharp
//                pixels, smoothed, or sharp at whole multiples and smoothed
//                otherwise
//   hints      = on | off        the start prompt of a level waiting for its
//                start key (off: the original's picture)
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
    std::string filter = "auto";
    bool hints = true;
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

// A settings file is a few lines; a longer file is not one.
constexpr size_t kMaxSettingsBytes = 64 * 1024;

// The text of a settings file with each value that differs between `before`
// and `after` put in place; every other line (comments, keys this version
// does not know, values this run did not change) stays as it is. A key the
// text lacks is added at its end.
std::string updateSettingsText(const std::string& text, const Settings& before, const Settings& after);

// A file that is missing or cannot be read gives the defaults; complaints
// about it and its lines go to stderr.
Settings readSettingsFile(const std::string& path);
// Puts the values that changed from `before` to `after` into the file as it
// is now (another window of the game may have written it meanwhile), whole
// or not at all (platform/safe_file.h), making the folder if needed. A file
// that is no settings file (too long, not a regular file, unreadable) is
// never saved over. `error` names the file and the reason.
bool writeSettingsFile(const std::string& path, const Settings& before, const Settings& after, std::string& error);

}  // namespace game
