// SPDX-License-Identifier: MIT
#include "media/sdl/app_name.h"

#include <SDL.h>

namespace media {

void nameSdlApp() {
    // SDL reads the window class from the environment when video starts.
    SDL_setenv("SDL_VIDEO_X11_WMCLASS", QUANDRITE_APP_ID, 0);
    SDL_setenv("SDL_VIDEO_WAYLAND_WMCLASS", QUANDRITE_APP_ID, 0);
    SDL_SetHint(SDL_HINT_APP_NAME, "Quandrite");
    // Sound servers duck or route a stream by its role.
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_ROLE, "game");
}

}  // namespace media
