// SPDX-License-Identifier: MIT
#include "game/port/leave_controls.h"

#include "media/automation.h"
#include "media/device_keys.h"
#include "media/gamepad.h"
#include "media/keyboard.h"
#include "media/window.h"

namespace game {

namespace {
// The title then ends as it does when the window's close box is clicked.
void quitFromTitle() { media::injectWindowEvent(media::kEventCloseWindow); }
}  // namespace

void LeaveControls::frame(Screen screen) {
    const media::DeviceInput& input = media::deviceInput();
    bool onTitle = screen == Screen::Title;
    if (quitPromptFrames_ > 0) --quitPromptFrames_;
    if (!onTitle) quitPromptFrames_ = 0;
    if (onTitle && input.pressed[media::key::Escape]) {
        if (quitPromptFrames_ > 0) {
            quitPromptFrames_ = 0;
            quitFromTitle();
        } else {
            quitPromptFrames_ = kQuitPromptFrames;
        }
    }

    bool held = (onTitle || screen == Screen::Play) && (input.padButtons & media::PadBack);
    if (!held) {
        backFrames_ = 0;
        backDone_ = false;
        return;
    }
    if (backDone_ || ++backFrames_ < kBackHoldFrames) return;
    backFrames_ = 0;
    backDone_ = true;
    if (onTitle) quitFromTitle();
    else media::pressForPlayer(media::key::Escape);
}

void LeaveControls::reset() {
    quitPromptFrames_ = 0;
    backFrames_ = 0;
    backDone_ = false;
}

}  // namespace game
