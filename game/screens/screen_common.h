// SPDX-License-Identifier: MIT
#pragma once
// What the three screens share: the start keys and remembering where the
// player put the window.
#include "game/rules/game_state.h"

namespace game {

// Space, Return, keypad Enter or either Ctrl.
bool startKeyDown();
// The window's outer position, so the next title screen reopens it there.
void rememberWindowPlace(GameState& state);
// The client area's size as well.
void rememberWindowPlaceAndSize(GameState& state);

}  // namespace game
