#pragma once
// The hiscore table on disk: 44 lines of disguised numbers with a check
// line, a checksum and a fixed header.
#include "game/game_state.h"

namespace game {

// Writes the table, showing " Saving score..." in the window title.
void saveHiscores(GameState& state);
// Reads the file once at start-up: its table when it passes every test, the
// error table when it fails one, the defaults when it is missing or empty.
void loadHiscores(GameState& state);

}  // namespace game
