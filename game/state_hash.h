#pragma once
#include <cstdint>

#include "game/game_state.h"

namespace game {

// A fingerprint of everything that decides how a game goes on: two runs that
// end with the same hash took the same course.
uint64_t hashGameState(const GameState& state);

}  // namespace game
