// SPDX-License-Identifier: MIT
#include "media/sdl/fullscreen.h"

#include "media/sdl/video_internal.h"
#include "media/window.h"
#include "platform/environment.h"

namespace media {

namespace {

struct Saved {
    SDL_Window* window = nullptr;  // the window that is fullscreen, or null
    WindowGeometry reported;
    int sdlX = 0, sdlY = 0;  // SDL's own position of the client area, to restore
};

Saved saved;
bool startChecked = false;
std::optional<bool> atStart;
}  // namespace

void setFullscreenAtStart(std::optional<bool> on) { atStart = on; }

void toggleFullscreen() {
    SDL_Window* window = mainSdlWindow();
    if (!window) return;
    if (saved.window != window) {
        Saved now;
        now.reported = {windowX(0), windowY(0), windowInnerWidth(0), windowInnerHeight(0)};
        SDL_GetWindowPosition(window, &now.sdlX, &now.sdlY);
        if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
            SDL_Log("Quandrite: no fullscreen: %s", SDL_GetError());
            return;
        }
        now.window = window;
        saved = now;
        return;
    }
    Saved back = saved;
    saved = Saved{};
    SDL_SetWindowFullscreen(window, 0);
    // Window managers do not all restore the old frame themselves.
    SDL_SetWindowSize(window, back.reported.width, back.reported.height);
    SDL_SetWindowPosition(window, back.sdlX, back.sdlY);
}

bool fullscreenActive() { return saved.window && saved.window == mainSdlWindow(); }

const WindowGeometry* windowedGeometryWhileFullscreen(SDL_Window* window) {
    return window && window == saved.window ? &saved.reported : nullptr;
}

void noteWindowOpened(int number) {
    if (number != 0) return;
    // A new window where a closed fullscreen one was starts in a window.
    SDL_Window* window = mainSdlWindow();
    if (window && window == saved.window && !(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN)) saved = Saved{};
    if (startChecked) return;
    startChecked = true;
    bool wanted = atStart.value_or(platform::fullscreenRequested());
    if (wanted && !fullscreenActive()) toggleFullscreen();
}

}  // namespace media
