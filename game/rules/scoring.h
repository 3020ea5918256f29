// SPDX-License-Identifier: MIT
#pragma once
// The power-up timer, the score and the figures the status bar measures
// against the hiscore table.
#include "game/rules/game_state.h"

namespace game {

// 400 frames; its end cancels every effect at once.
void runPowerUpTimer(GameState& state);
// Hall-of-fame percentage, rank and the level's text.
void updateHiscoreFigures(GameState& state);
// The score always holds two points per percent of time left.
void scoreForTime(GameState& state);
// Keeps the score within 0..99999 and makes the status bar's texts.
void limitScoreAndMakeTexts(GameState& state);

}  // namespace game
