// SPDX-License-Identifier: MIT
#pragma once
#include "game/rules/game_state.h"

namespace game {

// Draws one frame of a level from the state the previous frame left, and
// flips. The only state it changes: the death sound is played from here,
// on the first burst frame that shows the first burst picture.
void drawLevelFrame(GameState& state);

}  // namespace game
