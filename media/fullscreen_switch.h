// SPDX-License-Identifier: MIT
#pragma once
// The fullscreen switch of window 0 as the program sees it (no SDL here).
#include <optional>

namespace media {

// Whether window 0 opens fullscreen the first time: set by the program for
// the player's setting; unset, QUANDRITE_FULLSCREEN=1 decides.
void setFullscreenAtStart(std::optional<bool> on);
// Switches window 0 between its window and desktop fullscreen.
void toggleFullscreen();
bool fullscreenActive();

}  // namespace media
