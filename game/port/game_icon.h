// SPDX-License-Identifier: MIT
#pragma once
// The game's icon, the same for the desktop entry and the window: the girl
// standing in front of a silver orb.
#include "media/icon_image.h"

namespace game {

// The icon at `size` x `size` pixels; blank when the pictures are missing.
media::IconImage gameIcon(int size);

}  // namespace game
