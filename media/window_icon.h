#pragma once
// The picture the desktop shows for our window (title bar, task bar, Alt+Tab).
#include "icon_image.h"

struct SDL_Window;

namespace media {

// Used for every window opened from now on, and for window 0 if it is open.
void setWindowIcon(IconImage icon);
// Inside the layer: gives a newly created SDL window the icon, if one is set.
void applyWindowIcon(SDL_Window* window);

}  // namespace media
