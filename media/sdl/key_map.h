// SPDX-License-Identifier: MIT
#pragma once
// SDL scancodes (physical key positions) to DirectInput key codes.
#include <SDL_scancode.h>

#include <cstdint>

namespace media {

// The DirectInput code of a scancode, 0 when the key has none.
uint8_t directInputCode(SDL_Scancode scancode);

}  // namespace media
