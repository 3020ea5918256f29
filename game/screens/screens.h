// SPDX-License-Identifier: MIT
#pragma once

namespace game {

// The three screens of the game, and the end of the program.
enum class Screen { Title, Play, GameOver, Closed };

}  // namespace game
