// SPDX-License-Identifier: MIT
#pragma once
// What the player collects inside a level: orbs, diamonds and bubbles, and
// the fading that follows a pickup.
#include "game/rules/game_state.h"

namespace game {

// Player test then wall test, group by group.
void testOrbs(GameState& state);
void testDiamonds(GameState& state);
// A point per bubble per frame of overlap, only in the last 40 % of the time.
void testBubbles(GameState& state);
// Touched diamonds fade in 85 frames and are parked in the status bar.
void fadeDiamonds(GameState& state);
// Taken orbs fade in 127 frames; a player pickup's effect comes at the end.
void fadeOrbs(GameState& state);
void spinDiamonds(GameState& state);

}  // namespace game
