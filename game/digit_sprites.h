#pragma once

namespace game {

// Paints the game's own small font: digits 0-9 as sprites 20-29 (6 x 11),
// a colon as sprite 60 and a dot as sprite 61 (6 x 8), white on transparent.
void createDigitSprites();

}  // namespace game
