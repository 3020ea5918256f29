// SPDX-License-Identifier: MIT
#pragma once
// The software path where windows have no pixels of their own (Wayland):
// the composed picture is handed to a streaming texture of an SDL renderer
// of any kind and drawn at the window's size in output pixels, so that a
// HiDPI output gets the picture at its own density, placed as the scale
// mode says and filtered as the scale filter says, on black.
#include <SDL.h>

namespace media {

bool openTexturePresenter(SDL_Window* window);
void closeTexturePresenter();
bool texturePresenterOpen();
bool presentTexture();

}  // namespace media
