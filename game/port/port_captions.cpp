// SPDX-License-Identifier: MIT
#include "game/port/port_captions.h"

#include "game/rules/catalogue.h"
#include "media/device_keys.h"
#include "media/drawing.h"
#include "media/screen.h"

namespace game {

namespace {

// The hold bar's sprites, made the first time Back is held: a dark track
// with a light edge, and one column of its filling, drawn once per frame held.
void makeHoldBar() {
    using namespace media;
    if (isSprite(sprite::HoldBarTrack)) return;
    if (createSprite(sprite::HoldBarTrack, kHoldBarWidth + 4, kHoldBarHeight + 4) &&
        startDrawing(spriteOutput(sprite::HoldBarTrack))) {
        box(0, 0, kHoldBarWidth + 4, kHoldBarHeight + 4, rgb(200, 220, 255));
        box(1, 1, kHoldBarWidth + 2, kHoldBarHeight + 2, rgb(10, 20, 60));
        stopDrawing();
    }
    if (createSprite(sprite::HoldBarColumn, 1, kHoldBarHeight) && startDrawing(spriteOutput(sprite::HoldBarColumn))) {
        box(0, 0, 1, kHoldBarHeight, rgb(110, 200, 255));
        stopDrawing();
    }
}

void drawCentred(int number, int y) {
    media::displaySprite(number, (media::kScreenWidth - media::spriteWidth(number)) / 2, y, 255);
}

void drawHoldBar(int frames) {
    makeHoldBar();
    int x = (media::kScreenWidth - kHoldBarWidth) / 2;
    media::displaySprite(sprite::HoldBarTrack, x - 2, kHoldBarY - 2, 255);
    int filled = frames * kHoldBarWidth / kBackHoldFrames;
    for (int column = 0; column < filled; ++column)
        media::displaySprite(sprite::HoldBarColumn, x + column, kHoldBarY, 255);
}

}  // namespace

void drawPortCaptions(const PortView& view) {
    bool waiting = view.screen == Screen::Play && view.state && view.state->levelStarted == 0;
    if (waiting && view.hints && !view.paused)
        drawCentred(media::deviceInput().lastFromPad ? sprite::StartLevelPadPrompt : sprite::StartLevelPrompt,
                    kStartPromptY);
    if (view.screen == Screen::Title && view.leave && view.leave->quitPromptShown())
        drawCentred(sprite::QuitPrompt, kQuitPromptY);
    if (view.leave && view.leave->backHeldFrames() > 0) drawHoldBar(view.leave->backHeldFrames());
    if (view.watching) media::displaySprite(sprite::ReplayTag, kReplayTagX, kReplayTagY, 255);
}

}  // namespace game
