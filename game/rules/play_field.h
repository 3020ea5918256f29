// SPDX-License-Identifier: MIT
#pragma once
// The fixed facts of the play screen that drawing and touching share: the row
// the wall sweeps along and the picture every overlap test takes for the player.
#include "game/rules/catalogue.h"

namespace game {

constexpr int kWallY = 49;
// Whatever way the player faces, the overlap tests use the first right-facing frame.
constexpr int kPlayerSprite = sprite::playerFrame(10);

}  // namespace game
