// SPDX-License-Identifier: MIT
#include "media/window_icon.h"

#include <SDL.h>

#include <utility>

#include "media/sdl/video_internal.h"

namespace media {

namespace {
WindowIconMaker maker;
IconImage made;
}  // namespace

void setWindowIcon(WindowIconMaker make) {
    maker = std::move(make);
    made = IconImage{};
    if (SDL_Window* window = mainSdlWindow()) applyWindowIcon(window);
}

void applyWindowIcon(SDL_Window* window) {
    if (!window) return;
    if (made.size <= 0 && maker) made = maker();
    if (made.size <= 0) return;
    // SDL copies the pixels, so the surface may borrow ours for the call.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(made.argb.data(), made.size, made.size, 32, made.size * 4,
                                                              SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return;
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
}

}  // namespace media
