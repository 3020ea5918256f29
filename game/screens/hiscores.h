// SPDX-License-Identifier: MIT
#pragma once
// The hiscore file: 44 text lines holding the table in disguise, tested on
// reading by a checksum, a check line and a fixed header line.
#include "game/rules/game_state.h"

namespace game {

// Writes rows 1..10 of the table to the hiscore file. A save that fails
// leaves the old file as it was, says so in one line on stderr and shows
// " Saving score failed" in the window title for two seconds.
void saveHiscores(GameState& state);

// Reads the hiscore file into rows 1..10: a missing or empty file (empty
// first line) keeps the table as it is, a file that fails a test gives the
// error table; a file that can be neither opened nor created is named on stderr.
// The caller then enters the title screen.
void loadHiscores(GameState& state);

}  // namespace game
