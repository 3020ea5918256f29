// SPDX-License-Identifier: MIT
#pragma once
// The girl: walking with the arrow keys, her walking pictures, and the burst
// when she dies.
#include "game/rules/game_state.h"

namespace game {

bool anyArrowDown();
// One step in the one direction whose arrow alone is down, if its bound allows.
void walk(GameState& state);
// Changes the walking picture every 12 frames of walking, with a step sound.
void animateWalking(GameState& state);
// With no arrow down, the standing picture of the last direction.
void standStill(GameState& state);
// One frame of the death burst: a life taken at its start, a respawn at its end.
void runDeathBurst(GameState& state);

}  // namespace game
