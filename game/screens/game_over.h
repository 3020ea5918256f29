// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <string>

#include "game/rules/game_state.h"
#include "game/screens/screens.h"

namespace game {

void enterGameOver(GameState& state);
// One frame: the caption, the final score, and either the initials entry
// (when the score makes the table) or the way back to the menu.
Screen gameOverFrame(GameState& state);

// Puts a score and name into the table; rows below move down, the old tenth
// row drops out. Equal scores go below the rows they equal.
// Whether the final score enters the hiscore table, so the initials are asked.
bool qualifiesForTable(const GameState& state);

// The game-over entry: the final score with `name` inserted into the table
// as the hiscore file holds it now, and the table saved.
void saveEntry(GameState& state, const std::string& name);

void insertHiscore(GameState& state, int32_t score, const std::string& name);

}  // namespace game
