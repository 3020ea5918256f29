// SPDX-License-Identifier: MIT
#pragma once
// The picture the desktop shows for our window (title bar, task bar, Alt+Tab).
#include <functional>

#include "media/icon_image.h"

struct SDL_Window;

namespace media {

// Draws the icon; called once, when the first real window opens, so that
// headless runs and tools never pay for it.
using WindowIconMaker = std::function<IconImage()>;
// Used for every window opened from now on, and for window 0 if it is open.
void setWindowIcon(WindowIconMaker make);
// Inside the layer: gives a newly created SDL window the icon, if one is set.
void applyWindowIcon(SDL_Window* window);

}  // namespace media
