// SPDX-License-Identifier: MIT
#pragma once
// The rising bubbles of the title and game-over screens (sets 1 to 5) and of
// the last part of a level's time (sets 1 to 4).
#include <cstdint>

#include "game/rules/game_state.h"

namespace game {

struct BubbleRules {
    int lastSet;
    int counts[6];         // bubbles per set
    uint32_t topSpeed[6];  // a re-scattered bubble rises at 1..topSpeed pixels a frame
};

// Title and game-over screens: four bubbles a set, three in set 5; sets 4 and 5 are slow.
constexpr BubbleRules kScreenBubbles{5, {0, 4, 4, 4, 4, 3}, {0, 3, 3, 3, 2, 2}};
// A level's last 40 % of time: sets 1 to 4, four each.
constexpr BubbleRules kLevelBubbles{4, {0, 4, 4, 4, 4, 0}, {0, 3, 3, 3, 3, 0}};

// Every bubble starts far below the screen and rises into view only later.
void scatterBubblesFarBelow(GameState& state);
// Moves each set up by its speeds; a bubble above the screen comes back
// below it with a new place and speed.
void riseBubbles(GameState& state, const BubbleRules& rules);

}  // namespace game
