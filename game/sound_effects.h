#pragma once
// The game's sound numbers, and the rule that effects stay silent while the
// player has switched sound off.
#include "game/game_state.h"

namespace game {

namespace sound {
constexpr int Step = 1;
constexpr int Pickup = 2;
constexpr int Death = 3;
constexpr int Diamond = 4;
constexpr int TimeWarning = 5;
constexpr int LevelStart = 6;
constexpr int DoorOpens = 7;
constexpr int Spiral = 8;
constexpr int Heart = 9;
constexpr int Music = 15;
}  // namespace sound

// Once, from the start, at the volume last set; nothing when sound is off.
void playEffect(const GameState& state, int number);
void setEffectVolume(const GameState& state, int number, int percent);

}  // namespace game
