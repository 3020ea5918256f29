// SPDX-License-Identifier: MIT
#include "media/sdl/surface_present.h"

#include "media/common/compositor.h"
#include "media/presentation.h"
#include "media/screen.h"

namespace media {

namespace {

struct SurfacePresenter {
    SDL_Window* window = nullptr;
    SDL_Surface* surface = nullptr;  // the window's, as last obtained
    bool direct = false;             // this frame is composed in surface's pixels
    SDL_Surface* picture = nullptr;  // the compositor's own buffer, in surface's format
};

SurfacePresenter presenter;

bool sameLayoutAsPicture(const SDL_Surface* surface) {
    uint32_t format = surface->format->format;
    return format == SDL_PIXELFORMAT_ARGB8888 || format == SDL_PIXELFORMAT_RGB888;
}

int windowPixelWidth(int* height) {
    int width = 0;
    SDL_GetWindowSizeInPixels(presenter.window, &width, height);
    return width;
}

// The window's size changed since its surface was obtained: SDL has let the
// surface go stale and frees its pixels at the next request.
bool surfaceStale() {
    int height = 0;
    int width = windowPixelWidth(&height);
    return !presenter.surface || presenter.surface->w != width || presenter.surface->h != height;
}

SDL_Surface* pictureIn(const SDL_PixelFormat* format) {
    if (presenter.picture && presenter.picture->format->format == format->format &&
        presenter.picture->pixels == backBuffer())
        return presenter.picture;
    if (presenter.picture) SDL_FreeSurface(presenter.picture);
    uint32_t layout = sameLayoutAsPicture(presenter.surface) ? format->format
                                                             : static_cast<uint32_t>(SDL_PIXELFORMAT_ARGB8888);
    presenter.picture = SDL_CreateRGBSurfaceWithFormatFrom(backBuffer(), kScreenWidth, kScreenHeight, 32,
                                                           kScreenWidth * 4, layout);
    if (presenter.picture) SDL_SetSurfaceBlendMode(presenter.picture, SDL_BLENDMODE_NONE);
    return presenter.picture;
}

void fillOutside(SDL_Surface* surface, const SDL_Rect& inside) {
    uint32_t black = SDL_MapRGB(surface->format, 0, 0, 0);
    SDL_Rect bands[4] = {{0, 0, surface->w, inside.y},
                         {0, inside.y + inside.h, surface->w, surface->h - inside.y - inside.h},
                         {0, inside.y, inside.x, inside.h},
                         {inside.x + inside.w, inside.y, surface->w - inside.x - inside.w, inside.h}};
    for (const SDL_Rect& band : bands)
        if (band.w > 0 && band.h > 0) SDL_FillRect(surface, &band, black);
}

bool scaleIntoWindow() {
    presenter.surface = SDL_GetWindowSurface(presenter.window);
    if (!presenter.surface) return false;
    SDL_Surface* picture = pictureIn(presenter.surface->format);
    if (!picture) return false;
    PictureRect place = pictureRect(scaleMode(), presenter.surface->w, presenter.surface->h);
    SDL_Rect inside{place.x, place.y, place.width, place.height};
    fillOutside(presenter.surface, inside);
    if (place.width == kScreenWidth && place.height == kScreenHeight)
        return SDL_BlitSurface(picture, nullptr, presenter.surface, &inside) == 0;
    // SDL's linear stretch wants both sides in one 32-bit layout.
    if (smoothScaling(scaleFilter(), place) && picture->format->format == presenter.surface->format->format)
        return SDL_SoftStretchLinear(picture, nullptr, presenter.surface, &inside) == 0;
    return SDL_BlitScaled(picture, nullptr, presenter.surface, &inside) == 0;
}

}  // namespace

bool openSurfacePresenter(SDL_Window* window) {
    closeSurfacePresenter();
    presenter.window = window;
    presenter.surface = SDL_GetWindowSurface(window);
    if (!presenter.surface) {
        presenter = SurfacePresenter{};
        return false;
    }
    return true;
}

void closeSurfacePresenter() {
    keepPictureInOwnBuffer();
    composeInto(nullptr);
    if (presenter.picture) SDL_FreeSurface(presenter.picture);
    presenter = SurfacePresenter{};
}

bool surfacePresenterOpen() { return presenter.window != nullptr; }

void prepareSurfaceFrame() {
    if (!presenter.window) return;
    if (presenter.direct && surfaceStale()) keepPictureInOwnBuffer();
    presenter.surface = SDL_GetWindowSurface(presenter.window);
    presenter.direct = presenter.surface && presenter.surface->w == kScreenWidth &&
                       presenter.surface->h == kScreenHeight && presenter.surface->pitch == kScreenWidth * 4 &&
                       sameLayoutAsPicture(presenter.surface);
    composeInto(presenter.direct ? static_cast<uint32_t*>(presenter.surface->pixels) : nullptr);
}

bool presentSurface() {
    if (!presenter.window) return false;
    if (presenter.direct && surfaceStale()) {
        // Resized while this frame was composed in the old pixels.
        keepPictureInOwnBuffer();
        presenter.direct = false;
    }
    if (presenter.direct) {
        backBuffer();  // fills the rows nothing was drawn on
    } else if (!scaleIntoWindow()) {
        return false;
    }
    return SDL_UpdateWindowSurface(presenter.window) == 0;
}

}  // namespace media
