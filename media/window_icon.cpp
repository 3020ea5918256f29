#include "window_icon.h"

#include <SDL.h>

#include <utility>

#include "video_internal.h"

namespace media {

namespace {
IconImage current;
}

void setWindowIcon(IconImage icon) {
    current = std::move(icon);
    if (SDL_Window* window = mainSdlWindow()) applyWindowIcon(window);
}

void applyWindowIcon(SDL_Window* window) {
    if (!window || current.size <= 0) return;
    // SDL copies the pixels, so the surface may borrow ours for the call.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(current.argb.data(), current.size, current.size, 32,
                                                              current.size * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return;
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
}

}  // namespace media
