// SPDX-License-Identifier: MIT
#include "media/sdl/fullscreen.h"

#include "media/keyboard.h"
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
// Set by an Alt+Enter switch: its Enter stays hidden from the game until let
// go, since Alt may be released first.
bool chordEnterHeld = false;

bool isAltEnter(const SDL_Event& event) {
    SDL_Keycode sym = event.key.keysym.sym;
    return (sym == SDLK_RETURN || sym == SDLK_KP_ENTER) && (event.key.keysym.mod & KMOD_ALT);
}

// An Alt+Enter already pumped but not yet handled by the event poll: the
// snapshot may show its Enter after Alt was let go.
bool altEnterWaiting() {
    SDL_Event events[16];
    int count = SDL_PeepEvents(events, 16, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_KEYDOWN);
    for (int i = 0; i < count; ++i)
        if (isAltEnter(events[i])) return true;
    return false;
}

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

bool handleFullscreenKey(const SDL_Event& event) {
    if (event.type != SDL_KEYDOWN || event.key.repeat) return false;
    bool altEnter = isAltEnter(event);
    if (event.key.keysym.sym != SDLK_F11 && !altEnter) return false;
    chordEnterHeld = chordEnterHeld || altEnter;
    toggleFullscreen();
    return true;
}

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

void hideFullscreenChord(uint8_t* snapshot) {
    bool enter = snapshot[key::Return] || snapshot[key::NumpadEnter];
    if (enter && !chordEnterHeld) chordEnterHeld = altEnterWaiting();
    if (!enter) chordEnterHeld = false;
    if (!chordEnterHeld && !(SDL_GetModState() & KMOD_ALT)) return;
    snapshot[key::Return] = 0;
    snapshot[key::NumpadEnter] = 0;
}

}  // namespace media
