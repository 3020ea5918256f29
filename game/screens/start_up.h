// SPDX-License-Identifier: MIT
#pragma once
// The start of the game in its fixed order, in steps that the game, the tests
// and the start-up benchmark share: Game::startUp runs them all, with the
// sounds, the hiscore file and the first title screen.
#include "game/rules/game_state.h"
#include "game/screens/start_values.h"

namespace game {

// A service of the layer, by the name of the call that starts it.
struct LayerStart {
    const char* call;
    void (*start)();
};

// Windows and files first, then sprites, keyboard and sound.
extern const LayerStart kLayerStartOrder[5];

// Every service of kLayerStartOrder, in that order.
void startMediaLayer();

// The record as start-up leaves it before the hiscore file is read:
// zero-filled, the default hiscore table, the window's first place and size
// and the sound switch from `start` (by default the original's: centred,
// 1020 x 607, sound on), and the level entry run once (which sets the
// volumes of the sounds already loaded).
void startGameState(GameState& state, const StartValues& start = {});

}  // namespace game
