// SPDX-License-Identifier: MIT
#include "game/port/pause.h"

#include "game/rules/catalogue.h"
#include "media/device_keys.h"
#include "media/drawing.h"
#include "media/keyboard.h"
#include "media/last_frame.h"
#include "media/screen.h"
#include "media/sound.h"
#include "media/window.h"

namespace game {

namespace {
constexpr int kDimIntensity = 160;
// The caption's two lines, centred on the screen with a gap between them.
constexpr int kCaptionGap = 10;

void makeDimmer() {
    using namespace media;
    if (createSprite(sprite::PauseDimmer, kScreenWidth, kScreenHeight) &&
        startDrawing(spriteOutput(sprite::PauseDimmer))) {
        // Black would be transparent; this is the darkest colour that is not.
        box(0, 0, kScreenWidth, kScreenHeight, rgb(1, 1, 1));
        stopDrawing();
    }
}

Screen showPausedFrame() {
    using namespace media;
    if (windowEvent() == kEventCloseWindow) return Screen::Closed;
    redrawLastFrame();
    displaySprite(sprite::PauseDimmer, 0, 0, kDimIntensity);
    int height = spriteHeight(sprite::PausedCaption) + kCaptionGap + spriteHeight(sprite::ContinuePrompt);
    int y = (kScreenHeight - height) / 2;
    displaySprite(sprite::PausedCaption, (kScreenWidth - spriteWidth(sprite::PausedCaption)) / 2, y, 255);
    y += spriteHeight(sprite::PausedCaption) + kCaptionGap;
    displaySprite(sprite::ContinuePrompt, (kScreenWidth - spriteWidth(sprite::ContinuePrompt)) / 2, y, 255);
    flipBuffers();
    return Screen::Play;
}
}  // namespace

bool PauseControl::frame(Screen screen, bool levelRunning, Screen& next) {
    // Both are followed on every screen, so that only a fresh press or a
    // fresh loss of the focus pauses.
    const media::DeviceInput& input = media::deviceInput();
    bool pressed = input.pressed[media::key::P] || input.pressed[media::key::Pause] ||
                   (input.padStartPressed && levelRunning);
    bool focused = input.focused;
    bool lostFocus = focusedBefore_ && !focused;
    focusedBefore_ = focused;
    if (!paused_) {
        if (screen != Screen::Play || !(pressed || lostFocus)) return false;
        begin();
    } else if (pressed) {
        end();
        return false;
    }
    next = showPausedFrame();
    if (next == Screen::Closed) end();
    return true;
}

void PauseControl::begin() {
    paused_ = true;
    media::holdLastFrame(true);
    media::pauseSounds(true);
    makeDimmer();
}

void PauseControl::end() {
    if (!paused_) return;
    paused_ = false;
    media::holdLastFrame(false);
    media::pauseSounds(false);
}

}  // namespace game
