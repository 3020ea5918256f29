// SPDX-License-Identifier: MIT
#pragma once
// The sprites of the last frame shown, kept so that the layer can show that
// frame again while the game draws nothing (the pause), whatever the path
// that composes and presents it.
#include <cstdint>

namespace media {

// While held, the frame shown last stays the one to redraw and new drawing
// is not kept.
void holdLastFrame(bool hold);
// Clears the screen to black and draws the last frame's sprites again, in
// their order, with their places, opacities and tints.
void redrawLastFrame();

// Inside the layer: each sprite drawn.
void keepDrawnSprite(int number, int x, int y, int intensity, int64_t colour);

}  // namespace media
