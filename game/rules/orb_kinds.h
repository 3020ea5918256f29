// SPDX-License-Identifier: MIT
#pragma once
// What each kind of orb looks like, is worth and does.
#include "game/rules/game_state.h"

namespace game {

enum class OrbEffect { None, MoreTime100, MoreTime200, Speed4, Speed3, ReverseArrows, TimerOnly };

struct OrbKindInfo {
    int sprite;
    int labelSprite;  // 0: no label (skulls)
    int points;
    int sound;
    OrbEffect effect;  // applied when a player pickup has faded out
};

// Indexed by OrbKind (1..9).
const OrbKindInfo& orbKind(int group);

}  // namespace game
