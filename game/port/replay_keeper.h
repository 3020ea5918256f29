// SPDX-License-Identifier: MIT
#pragma once
// The replays of a player's run: every game is recorded from start-up and
// saved when it ends (back to the title screen, or the window closed in the
// middle of it), with the examination at which it began. On the title
// screen R plays the best replay: the title and any games before its own run
// unseen at full speed, then its game is shown from its first frame with a
// REPLAY tag, until it ends or any key or gamepad button is pressed; then the
// title screen starts afresh.
#include <cstdint>
#include <optional>
#include <string>

#include "game/port/automation.h"
#include "game/port/demo.h"
#include "game/port/game.h"
#include "media/device_keys.h"

namespace game {

class ReplayKeeper {
public:
    explicit ReplayKeeper(std::string folder) : folder_(std::move(folder)) {}
    // A new recording, from here on, of a game about to start up with this
    // seed; call `started` once start-up is done.
    void begin(uint32_t seed);
    void started(const GameState& state);
    // After each frame: saves the replay of a game that has just ended, and
    // plays the best replay when R is pressed on the title screen.
    void afterFrame(Game& game);
    // The start values the game is restarted with after a replay.
    StartValues restartValues(const GameState& state) const;

private:
    void watchBest(Game& game);
    std::string folder_;
    Demo demo_;
    std::optional<DemoRecording> recording_;
    Screen screenBefore_ = Screen::Title;
    int32_t scoreBefore_ = 0;
    bool replayKeyBefore_ = false;
};

// The start of a game that is starting up with this state: its sound switch
// and its table.
StartValues startValuesOf(const GameState& state);

// Plays a replay in `game` from start-up, with its own seed, start values
// and data folder, its frames before its game unseen, until it ends, a key
// or button is pressed on the devices, or the window is closed.
void watchReplay(Game& game, const Demo& demo);
// Whether the devices' read has a fresh press of any key or gamepad button.
bool anyFreshPress(const media::DeviceInput& input);

}  // namespace game
