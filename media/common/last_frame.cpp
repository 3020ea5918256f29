// SPDX-License-Identifier: MIT
#include "media/last_frame.h"

#include <utility>
#include <vector>

#include "media/automation.h"
#include "media/screen.h"
#include "media/test_hooks.h"

namespace media {

namespace {
std::vector<DrawCall> drawing;  // since the last flip
uint64_t drawingFrame = 0;      // framesFlipped() when `drawing` began
std::vector<DrawCall> shown;    // the frame flipped before `drawing` began
std::vector<DrawCall> held;
bool holding = false;
bool redrawing = false;

// Draws after a flip start a new frame; the one before is the frame shown.
void followFlips() {
    if (drawingFrame == framesFlipped()) return;
    std::swap(shown, drawing);
    drawing.clear();
    drawingFrame = framesFlipped();
}

const std::vector<DrawCall>& lastShown() { return drawingFrame == framesFlipped() ? shown : drawing; }
}  // namespace

void keepDrawnSprite(int number, int x, int y, int intensity, int64_t colour) {
    if (holding || redrawing) return;
    followFlips();
    drawing.push_back({number, x, y, intensity, colour});
}

void holdLastFrame(bool hold) {
    // Drawing since the last flip has not been shown yet.
    if (hold && !holding) held = lastShown();
    holding = hold;
}

void redrawLastFrame() {
    redrawing = true;
    clearScreen(0);
    for (const DrawCall& call : holding ? held : lastShown())
        displaySpriteTinted(call.sprite, call.x, call.y, call.intensity, call.colour);
    redrawing = false;
}

}  // namespace media
