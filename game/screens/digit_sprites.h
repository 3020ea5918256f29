// SPDX-License-Identifier: MIT
#pragma once

namespace game {

// Paints the game's own small font: the digits 0-9 (6 x 11), a colon and a
// dot (6 x 8), white on transparent.
void createDigitSprites();

}  // namespace game
