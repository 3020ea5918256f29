// SPDX-License-Identifier: MIT
#include "game/screens/title_tips.h"

#include "game/rules/catalogue.h"

namespace game {

namespace {
constexpr int kTipX[61] = {0,   410, 399, 387, 344, 417, 405, 380, 393, 378, 390, 355, 364, 353, 443, 448,
                           448, 382, 315, 381, 338, 369, 323, 391, 397, 379, 411, 387, 423, 303, 354, 409,
                           346, 355, 425, 344, 407, 382, 418, 378, 407, 380, 414, 418, 366, 346, 257, 257,
                           395, 403, 466, 413, 398, 370, 334, 398, 413, 443, 147, 377, 366};

constexpr TipIcon kHeart[] = {{sprite::HeartOrb, 329, -14}};
constexpr TipIcon kSpiral[] = {{sprite::SpiralOrb, 314, -14}};
constexpr TipIcon kIce[] = {{sprite::IceOrb, 326, -14}};
constexpr TipIcon kPurple[] = {{sprite::PurpleOrb, 291, -14}};
constexpr TipIcon kFire[] = {{sprite::FireOrb, 300, -14}};
constexpr TipIcon kTree[] = {{sprite::TreeOrb, 289, -14}};
constexpr TipIcon kSun[] = {{sprite::SunOrb, 379, -14}};
constexpr TipIcon kSilver[] = {{sprite::SilverOrb, 384, -14}};
// The first frame of each diamond.
constexpr TipIcon kDiamonds[] = {{sprite::diamond(1, 1), 325, -4},
                                 {sprite::diamond(2, 1), 346, -4},
                                 {sprite::diamond(3, 1), 367, -4},
                                 {sprite::diamond(4, 1), 388, -4},
                                 {sprite::diamond(5, 1), 409, -4}};
constexpr TipIcon kDoor[] = {{sprite::DoorClosed, 318, -4}};
constexpr TipIcon kBubble[] = {{sprite::bubble(1), 430, -3}};

struct IconList {
    int tip;
    const TipIcon* icons;
    int count;
};
constexpr IconList kIcons[] = {{8, kHeart, 1},     {9, kSpiral, 1}, {10, kIce, 1},   {11, kPurple, 1},
                               {12, kFire, 1},     {13, kTree, 1},  {14, kSun, 1},   {15, kSilver, 1},
                               {16, kDiamonds, 5}, {17, kDoor, 1},  {50, kBubble, 1}};

struct TipTable {
    Tip tips[61];
    constexpr TipTable() : tips() {
        for (int t = 1; t <= 60; ++t) tips[t] = Tip{kTipX[t], nullptr, 0};
        for (const IconList& list : kIcons) {
            tips[list.tip].icons = list.icons;
            tips[list.tip].iconCount = list.count;
        }
    }
};
constexpr TipTable kTable;
}  // namespace

const Tip* findTip(int number) {
    if (number < 1 || number > 60) return nullptr;
    return &kTable.tips[number];
}

}  // namespace game
