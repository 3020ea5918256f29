// SPDX-License-Identifier: MIT
#pragma once
// SDL scancodes (physical key positions) to DirectInput key codes, and the
// letters by the labels of the player's layout.
#include <SDL_keycode.h>
#include <SDL_scancode.h>

#include <cstdint>

namespace media {

// The DirectInput code of a scancode, 0 when the key has none.
uint8_t directInputCode(SDL_Scancode scancode);

// What a key shows in a layout: SDL's key code for the key at a scancode.
using KeyLabels = SDL_Keycode (*)(SDL_Scancode scancode);

// Rewrites a snapshot taken by position (DirectInput codes, bit 7 = down) so
// that its letters follow the labels: a key labelled with a letter stands for
// that letter's code wherever it sits, and a key at a letter's place on a US
// keyboard that shows no letter stands for no letter. The other keys (arrows,
// Space, Enter, Escape...) keep their positions.
void letterKeysByLabel(uint8_t* snapshot, KeyLabels labels);

}  // namespace media
