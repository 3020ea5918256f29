// SPDX-License-Identifier: MIT
#include "game/rules/bubbles.h"

#include "core/random.h"

namespace game {

using core::randomRange;

void scatterBubblesFarBelow(GameState& s) {
    static constexpr uint32_t kLowestStart[6] = {0, 4000, 4000, 4000, 3000, 1500};
    const BubbleRules& rules = kScreenBubbles;
    for (int set = 1; set <= rules.lastSet; ++set) {
        BubbleSet& bubbles = s.bubbles[set];
        for (int j = 1; j <= rules.counts[set]; ++j) {
            bubbles.x[j] = static_cast<int32_t>(randomRange(980, 60));
            bubbles.y[j] = static_cast<int32_t>(randomRange(6500, kLowestStart[set]));
            bubbles.speed[j] = static_cast<int32_t>(randomRange(rules.topSpeed[set], 1));
        }
    }
}

void riseBubbles(GameState& s, const BubbleRules& rules) {
    for (int set = 1; set <= rules.lastSet; ++set) {
        BubbleSet& bubbles = s.bubbles[set];
        for (int j = 1; j <= rules.counts[set]; ++j) bubbles.y[j] -= bubbles.speed[j];
        for (int j = 1; j <= rules.counts[set]; ++j) {
            if (bubbles.y[j] < -100) {
                bubbles.x[j] = static_cast<int32_t>(randomRange(980, 60));
                bubbles.y[j] = static_cast<int32_t>(randomRange(1600, 800));
                bubbles.speed[j] = static_cast<int32_t>(randomRange(rules.topSpeed[set], 1));
            }
        }
    }
}

}  // namespace game
