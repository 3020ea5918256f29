// SPDX-License-Identifier: MIT
// The SDL backend's keyboard: the keys held now, as DirectInput codes, and
// whether window 0 has the focus. Keys are read by position, as the original
// read them; the game's letters are then taken by their labels, since a
// player types initials, and looks for S and M, by what the keys show.
#include <SDL.h>

#include "media/common/backend_ops.h"
#include "media/sdl/hotkeys.h"
#include "media/sdl/key_map.h"
#include "media/sdl/video_internal.h"

namespace media {

bool sdlKeyboardFocused() {
    SDL_Window* window = mainSdlWindow();
    return window && SDL_GetKeyboardFocus() == window;
}

bool readSdlKeyboard(uint8_t* keys) {
    constexpr uint8_t kDown = 0x80;
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
    SDL_PumpEvents();
    int count = 0;
    const uint8_t* state = SDL_GetKeyboardState(&count);
    for (int i = 0; i < count; ++i)
        if (state[i]) {
            uint8_t code = directInputCode(static_cast<SDL_Scancode>(i));
            if (code) keys[code] = kDown;
        }
    hideHotkeyChord(keys);
    return true;
}

void labelSdlLetters(uint8_t* snapshot) {
    if (SDL_WasInit(SDL_INIT_VIDEO)) letterKeysByLabel(snapshot, SDL_GetKeyFromScancode);
}

}  // namespace media
