// SPDX-License-Identifier: MIT
#include "media/sdl/hotkeys.h"

#include "media/fullscreen_switch.h"
#include "media/keyboard.h"
#include "media/presentation.h"

namespace media {

namespace {

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

bool handleHotkey(const SDL_Event& event) {
    if (event.type != SDL_KEYDOWN || event.key.repeat) return false;
    // None of them is a key of the game's, nor is any read as "any key".
    if (event.key.keysym.scancode == SDL_SCANCODE_F10) {
        cycleScaleMode();
        return true;
    }
    bool altEnter = isAltEnter(event);
    if (event.key.keysym.sym != SDLK_F11 && !altEnter) return false;
    chordEnterHeld = chordEnterHeld || altEnter;
    toggleFullscreen();
    return true;
}

void hideHotkeyChord(uint8_t* snapshot) {
    bool enter = snapshot[key::Return] || snapshot[key::NumpadEnter];
    if (enter && !chordEnterHeld) chordEnterHeld = altEnterWaiting();
    if (!enter) chordEnterHeld = false;
    if (!chordEnterHeld && !(SDL_GetModState() & KMOD_ALT)) return;
    snapshot[key::Return] = 0;
    snapshot[key::NumpadEnter] = 0;
}

}  // namespace media
