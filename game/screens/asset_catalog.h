// SPDX-License-Identifier: MIT
#pragma once
// Loading the catalogue (game/catalogue.h) from the embedded files.
#include "game/rules/game_state.h"

namespace game {

// Every sound of the catalogue, the effects then the music.
void loadSounds();
// Every picture of the catalogue in ascending order, with the grey status
// panel (as wide as the window) made in its place among them.
void loadSpriteCatalogue(const GameState& state);
// Starts decoding the catalogue's pictures in the background, so that the
// title's first load of them finds the work done.
void prefetchSpriteCatalogue();

}  // namespace game
