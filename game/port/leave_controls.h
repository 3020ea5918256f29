// SPDX-License-Identifier: MIT
#pragma once
// The ways out that the port adds, and the gamepad's guard against leaving a
// game by mistake:
// - on the title, Escape shows "PRESS ESCAPE AGAIN TO QUIT" for two seconds,
//   and a second Escape in that time quits as the close box does;
// - on the title, the gamepad's Back held for a second quits the same way;
// - in a level, the gamepad's Back held for a second is the keyboard's Escape
//   (B and a short Back do nothing there).
// The title never read Escape and the gamepad's Back is no key there, so none
// of this meets a key of the original's.
#include "game/screens/screens.h"

namespace game {

constexpr int kQuitPromptFrames = 120;
constexpr int kBackHoldFrames = 60;

class LeaveControls {
public:
    // Before the frame of `screen` runs, with the frame's read of the devices
    // made.
    void frame(Screen screen);
    // Nothing held, nothing shown: a paused frame, a fresh start.
    void reset();
    bool quitPromptShown() const { return quitPromptFrames_ > 0; }
    // Frames the gamepad's Back has been held towards its second (0: not held).
    int backHeldFrames() const { return backFrames_; }

private:
    int quitPromptFrames_ = 0;
    int backFrames_ = 0;
    bool backDone_ = false;  // the hold did its part; Back must be let go first
};

}  // namespace game
