// SPDX-License-Identifier: MIT
#include "media/sdl/texture_present.h"

#include <cstring>

#include "media/common/compositor.h"
#include "media/presentation.h"
#include "media/screen.h"

namespace media {

namespace {

SDL_Renderer* renderer = nullptr;
SDL_Texture* picture = nullptr;

}  // namespace

bool openTexturePresenter(SDL_Window* window) {
    closeTexturePresenter();
    renderer = SDL_CreateRenderer(window, -1, 0);
    SDL_RendererInfo info;
    // SDL's own software renderer draws through the window surface, which
    // such a window has not.
    if (renderer && (SDL_GetRendererInfo(renderer, &info) != 0 || std::strcmp(info.name, "software") == 0)) {
        SDL_DestroyRenderer(renderer);
        renderer = nullptr;
        SDL_SetError("no renderer but SDL's software one");
    }
    if (renderer)
        picture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, kScreenWidth,
                                    kScreenHeight);
    if (!picture) closeTexturePresenter();
    return picture != nullptr;
}

void closeTexturePresenter() {
    if (picture) SDL_DestroyTexture(picture);
    if (renderer) SDL_DestroyRenderer(renderer);
    picture = nullptr;
    renderer = nullptr;
}

bool texturePresenterOpen() { return renderer != nullptr; }

bool presentTexture() {
    if (!picture) return false;
    if (SDL_UpdateTexture(picture, nullptr, backBuffer(), kScreenWidth * 4) != 0) return false;
    int width = 0, height = 0;
    if (SDL_GetRendererOutputSize(renderer, &width, &height) != 0) return false;
    PictureRect place = pictureRect(scaleMode(), width, height);
    SDL_Rect inside{place.x, place.y, place.width, place.height};
    SDL_SetTextureScaleMode(picture, smoothScaling(scaleFilter(), place) ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    if (SDL_RenderCopy(renderer, picture, nullptr, &inside) != 0) return false;
    SDL_RenderPresent(renderer);
    return true;
}

}  // namespace media
