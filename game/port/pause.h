// SPDX-License-Identifier: MIT
#pragma once
// The pause of a running level: P, Pause or the gamepad's Start (once the
// level is started), or the window losing the focus, hold the play loop.
// While paused the last frame stays on screen, dimmed, with PAUSED and the
// keys that go on ("P OR START TO CONTINUE"); the window still answers, no rule runs, no key reaches the game, the
// state stays as it is, the sounds hold and a recording records nothing. P, Pause or Start go on; a regained focus does
// not. The title and game-over screens never pause.
#include "game/screens/screens.h"

namespace game {

class PauseControl {
public:
    // Before each frame of `screen`, with the frame's read of the devices
    // made: true when the frame is the pause's, in which case the screen's own
    // frame must not run; `next` becomes Closed when the window was closed.
    // The gamepad's Start pauses only a level that runs.
    bool frame(Screen screen, bool levelRunning, Screen& next);
    bool paused() const { return paused_; }
    // Ends a pause without a frame (the window closed, the game restarted).
    void end();

private:
    void begin();
    bool paused_ = false;
    bool focusedBefore_ = true;
};

}  // namespace game
