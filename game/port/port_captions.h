// SPDX-License-Identifier: MIT
#pragma once
// What the port draws over the original's frames, just before each is shown
// (media/overlay.h): the start prompt of a level that waits for its start
// key, the REPLAY tag while a replay is watched, the title's quit prompt and
// the bar that fills while the gamepad's Back is held.
#include "game/port/leave_controls.h"
#include "game/rules/game_state.h"
#include "game/screens/screens.h"

namespace game {

struct PortView {
    Screen screen = Screen::Closed;
    const GameState* state = nullptr;
    bool paused = false;
    bool hints = true;      // the start prompt is shown (the setting hints)
    bool watching = false;  // a replay is shown
    const LeaveControls* leave = nullptr;
};

// Where the captions go: the start prompt in the middle of the field, under
// the level banner's path and clear of the status bar below the field.
constexpr int kStartPromptY = 300;
constexpr int kReplayTagX = 12;
constexpr int kReplayTagY = 14;
constexpr int kQuitPromptY = 560;
constexpr int kHoldBarWidth = 120;
constexpr int kHoldBarHeight = 10;
constexpr int kHoldBarY = 500;

void drawPortCaptions(const PortView& view);

}  // namespace game
