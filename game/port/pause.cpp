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

// PAUSED in a 5 x 7 pixel font, each font pixel drawn as a square.
constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kPixel = 5;
constexpr const char* kCaption[kGlyphHeight] = {
    "11110 01110 10001 01111 11111 11110", "10001 10001 10001 10000 10000 10001", "10001 10001 10001 10000 10000 10001",
    "11110 11111 10001 01110 11110 10001", "10000 10001 10001 00001 10000 10001", "10000 10001 10001 00001 10000 10001",
    "10000 10001 01110 11110 11111 11110",
};
constexpr int kCaptionColumns = 6 * (kGlyphWidth + 1) - 1;

void makePictures() {
    using namespace media;
    if (createSprite(sprite::PauseDimmer, kScreenWidth, kScreenHeight) &&
        startDrawing(spriteOutput(sprite::PauseDimmer))) {
        // Black would be transparent; this is the darkest colour that is not.
        box(0, 0, kScreenWidth, kScreenHeight, rgb(1, 1, 1));
        stopDrawing();
    }
    if (createSprite(sprite::PauseCaption, kCaptionColumns * kPixel, kGlyphHeight * kPixel) &&
        startDrawing(spriteOutput(sprite::PauseCaption))) {
        for (int row = 0; row < kGlyphHeight; ++row)
            for (int column = 0; column < kCaptionColumns; ++column)
                if (kCaption[row][column] == '1')
                    box(column * kPixel, row * kPixel, kPixel, kPixel, rgb(255, 255, 255));
        stopDrawing();
    }
}

Screen showPausedFrame() {
    using namespace media;
    if (windowEvent() == kEventCloseWindow) return Screen::Closed;
    redrawLastFrame();
    displaySprite(sprite::PauseDimmer, 0, 0, kDimIntensity);
    displaySprite(sprite::PauseCaption, (kScreenWidth - kCaptionColumns * kPixel) / 2,
                  (kScreenHeight - kGlyphHeight * kPixel) / 2, 255);
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
    makePictures();
}

void PauseControl::end() {
    if (!paused_) return;
    paused_ = false;
    media::holdLastFrame(false);
    media::pauseSounds(false);
}

}  // namespace game
