#pragma once
#include "game/game_state.h"

namespace game {

// Sounds 1 to 9 and the music (15) from the embedded files.
void loadSounds();
// Every embedded sprite in ascending order, with the grey status panel
// (sprite 18, as wide as the window) made between sprites 17 and 19.
void loadSpriteCatalogue(const GameState& state);
// Starts decoding the catalogue's pictures in the background, so that the
// title's first load of them finds the work done.
void prefetchSpriteCatalogue();

}  // namespace game
