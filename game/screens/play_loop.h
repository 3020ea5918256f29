// SPDX-License-Identifier: MIT
#pragma once
#include "game/rules/game_state.h"
#include "game/screens/screens.h"

namespace game {

// Stops the title music and starts the level in levelNumber.
Screen enterPlayLoop(GameState& state);
// One frame of a level: draw, read the keys, then every rule in its order.
Screen playFrame(GameState& state);

}  // namespace game
