// SPDX-License-Identifier: MIT
#pragma once
// The window's own keys, which the game never sees: F10 changes the scaling,
// F11 and Alt+Enter switch between the window and desktop fullscreen. They
// are taken from the events, where a quick tap is never missed; the keyboard
// snapshot is scrubbed of the chord's Enter.
#include <SDL.h>

#include <cstdint>

namespace media {

// Acts on a hotkey's press; true when the event was one.
bool handleHotkey(const SDL_Event& event);
// Enter held with Alt belongs to the switch, not to the game: takes Return
// and keypad Enter out of a keyboard snapshot (DirectInput codes) while Alt is
// down, and after an Alt+Enter switch until Enter is let go.
void hideHotkeyChord(uint8_t* snapshot);

}  // namespace media
