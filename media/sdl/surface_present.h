// SPDX-License-Identifier: MIT
#pragma once
// The software path's presenting: the picture goes into the window's own
// pixels (SDL's window surface). When the window is 1020 x 607 the
// compositor draws straight into them and presenting copies nothing;
// otherwise the picture is scaled into them by nearest pixel, placed as the
// scale mode says, on black.
#include <SDL.h>

namespace media {

bool openSurfacePresenter(SDL_Window* window);
void closeSurfacePresenter();
bool surfacePresenterOpen();
// Before each clear: points the compositor at the window's pixels when the
// picture fits them exactly, else at its own buffer.
void prepareSurfaceFrame();
bool presentSurface();

}  // namespace media
