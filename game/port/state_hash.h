// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>

#include "game/rules/game_state.h"

namespace game {

// A fingerprint of the whole game state (every field of state_fields.h's
// lists, arrays over the elements the game uses): two runs that end with the
// same hash took the same course.
uint64_t hashGameState(const GameState& state);

}  // namespace game
