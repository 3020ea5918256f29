// SPDX-License-Identifier: MIT
#pragma once
#include "game/rules/game_state.h"
#include "game/screens/screens.h"

namespace game {

// Opens (or moves back) the window, makes the digit font, loads the sprite
// catalogue and prepares the title screen.
void enterTitleScreen(GameState& state);
// One frame of the title screen: the picture, the tips, the hiscore table,
// the sound switch and the start keys.
Screen titleFrame(GameState& state);

}  // namespace game
