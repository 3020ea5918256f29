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

// While it lives, no other window of the game saves the hiscore file, so
// that a save can read the table as the file has it now and write it back.
// One held elsewhere for long is named on stderr and the save goes ahead.
class HiscoreFileHold {
public:
    HiscoreFileHold();
    ~HiscoreFileHold();
    HiscoreFileHold(const HiscoreFileHold&) = delete;
    HiscoreFileHold& operator=(const HiscoreFileHold&) = delete;
};

// Takes rows 1..10 as the hiscore file holds them now (another window of the
// game may have saved since this one read it). The table in memory stays
// when the file is missing or fails its tests, and when a save of this run
// failed: it then holds entries the file lacks.
void takeSavedTable(GameState& state);

}  // namespace game
