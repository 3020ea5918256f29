// SPDX-License-Identifier: MIT
#pragma once
// Setting up a level: its layout from the level tables, and every per-level
// value of the play loop back at its start.
#include "game/rules/game_state.h"

namespace game {

// Level n, 1..20; any other number changes nothing.
void setUpLevel(GameState& state, int n);

}  // namespace game
