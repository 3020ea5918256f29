// SPDX-License-Identifier: MIT
#pragma once
// Desktop fullscreen for window 0, switched with F11 or Alt+Enter. The game
// keeps seeing the windowed place and size, so that what it remembers (and
// reopens the window with) is the window the player will get back.
#include <SDL.h>

#include <cstdint>

#include "media/fullscreen_switch.h"

namespace media {

struct WindowGeometry {
    int x = 0, y = 0;           // as windowX/windowY report: the frame's corner
    int width = 0, height = 0;  // the client area
};

// Inside the layer.
// The windowed geometry while `window` is fullscreen, else null.
const WindowGeometry* windowedGeometryWhileFullscreen(SDL_Window* window);
// After window `number` was opened: window 0 goes fullscreen the first time
// when asked to (setFullscreenAtStart, QUANDRITE_FULLSCREEN=1).
void noteWindowOpened(int number);

}  // namespace media
