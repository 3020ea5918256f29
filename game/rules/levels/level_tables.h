// SPDX-License-Identifier: MIT
#pragma once
// The layouts of the twenty levels, compiled in as constant data.
#include <array>
#include <cstdint>
#include <span>

#include "game/rules/game_state.h"

namespace game::levels {

constexpr int kLevelCount = 20;
constexpr int kDiamonds = 5;

struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

struct LevelDefinition {
    Point exit;
    std::array<Point, kDiamonds> diamonds;      // diamonds 1..5
    std::array<uint8_t, kOrbGroups> orbCounts;  // groups 1..9
    // Every orb of the level, group after group, in orb order: the set-up
    // reads them one after another as from a data cursor.
    std::span<const Point> orbs;
};

// Level n, 1..20.
const LevelDefinition& levelDefinition(int n);

}  // namespace game::levels
