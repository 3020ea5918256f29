// SPDX-License-Identifier: MIT
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace game {

// What a game takes from outside at start-up besides the seed: the sound
// switch, the hiscore table (a recorded game starts with the player's) and
// the window's first place and inner size. The defaults are the original's.
struct StartValues {
    int8_t soundOn = 1;
    bool hasTable = false;  // false: the default table
    std::array<std::string, 11> names{};
    std::array<int32_t, 11> scores{};
    int32_t windowX = -1;  // -1, -1: centred
    int32_t windowY = -1;
    int32_t windowWidth = 1020;
    int32_t windowHeight = 607;
    bool operator==(const StartValues&) const = default;
};

}  // namespace game
