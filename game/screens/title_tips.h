// SPDX-License-Identifier: MIT
#pragma once
// Where the sixty tips of the title screen stand, and the pictures some of
// them show beside their text.
#include <cstdint>

namespace game {

struct TipIcon {
    int sprite;
    int x;
    int dy;  // relative to the tip line
};

struct Tip {
    int x;
    const TipIcon* icons;
    int iconCount;
};

// Tips 1..60 (each its own sprite, sprite::tip); any other number has no tip.
const Tip* findTip(int number);

}  // namespace game
