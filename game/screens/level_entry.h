// SPDX-License-Identifier: MIT
#pragma once
#include "game/rules/game_state.h"
#include "game/screens/screens.h"

namespace game {

// Runs before every level and before every title screen: a new-game request
// becomes level 1 with one life, the level's random choices are drawn and
// the values no level set-up touches are reset.
void initLevelEntry(GameState& state);

// Names the level in the window title, plays the level-start sound and sets
// the level up. After level 20 it ends the game as won instead: the result is
// then Screen::GameOver, otherwise Screen::Play.
Screen startLevel(GameState& state);

}  // namespace game
