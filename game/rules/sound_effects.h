// SPDX-License-Identifier: MIT
#pragma once
// The rule that effects stay silent while the player has switched sound off.
#include "game/rules/catalogue.h"
#include "game/rules/game_state.h"

namespace game {

// Once, from the start, at the volume last set; nothing when sound is off.
void playEffect(const GameState& state, int number);
void setEffectVolume(const GameState& state, int number, int percent);

}  // namespace game
