// SPDX-License-Identifier: MIT
#include "game/port/settings_keeper.h"

#include <cstdio>

#include "media/fullscreen_switch.h"
#include "media/presentation.h"

namespace game {

SettingsKeeper::SettingsKeeper(std::string path, Settings running)
    : path_(std::move(path)), written_(running), seen_(running) {}

void SettingsKeeper::follow(const Settings& now) {
    if (now == seen_) {
        ++steady_;
    } else {
        seen_ = now;
        steady_ = 1;
    }
    if (steady_ == kSteadyFrames) flush();
}

void SettingsKeeper::flush() {
    if (seen_ == written_) return;
    // Only what changed in this run; the rest stays as the file has it now.
    std::string error;
    bool saved = writeSettingsFile(path_, written_, seen_, error);
    written_ = seen_;
    if (!saved && !complained_) {
        // Once a run: the game plays on with the values it has.
        std::fprintf(stderr, "quandrite: %s\n", error.c_str());
        complained_ = true;
    }
}

Settings settingsNow(const GameState& s, const Settings& running) {
    Settings now = running;
    now.sound = s.soundOn == 1;
    now.fullscreen = media::fullscreenActive();
    now.scale = media::scaleModeName(media::scaleMode());
    if (s.lastWindowWidth >= kMinWindowSide && s.lastWindowWidth <= kMaxWindowSide &&
        s.lastWindowHeight >= kMinWindowSide && s.lastWindowHeight <= kMaxWindowSide) {
        now.width = s.lastWindowWidth;
        now.height = s.lastWindowHeight;
    }
    return now;
}

}  // namespace game
