// SPDX-License-Identifier: MIT
#pragma once
// Keeps the settings file in step with what the player changes while playing
// (the sound switch, fullscreen, the window's size). Options of the command
// line hold for their run only: a value is written only once the player
// changes it.
#include <string>

#include "game/port/settings.h"
#include "game/rules/game_state.h"

namespace game {

class SettingsKeeper {
public:
    // `running`: what this run started with (the file's values and the
    // command line's for this run).
    SettingsKeeper(std::string path, Settings running);
    ~SettingsKeeper() { flush(); }
    // Once a frame with the values as they are now. A change is written once
    // it has held for kSteadyFrames (a window being dragged bigger is one
    // change, not a hundred).
    void follow(const Settings& now);
    // Writes a change not yet written (at the end of the run).
    void flush();
    const Settings& running() const { return seen_; }

    static constexpr int kSteadyFrames = 30;

private:
    std::string path_;
    Settings written_;  // the values last taken into the file (or the run's start)
    Settings seen_;
    int steady_ = 0;
    bool complained_ = false;
};

// The settings as the game and the layer have them now; what the game cannot
// change is taken from `running`.
Settings settingsNow(const GameState& state, const Settings& running);

}  // namespace game
