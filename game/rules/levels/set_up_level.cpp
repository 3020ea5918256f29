// SPDX-License-Identifier: MIT
#include "core/random.h"
#include "game/rules/levels/level_tables.h"
#include "game/rules/levels/levels.h"

namespace game {

namespace {

// Levels 1 to 5 clear only the first ten orbs of each group, so orbs beyond
// the tenth keep what an earlier, larger level left there.
int clearedOrbs(int n) { return n <= 5 ? 10 : kMaxOrbsPerGroup; }

}  // namespace

void setUpLevel(GameState& state, int n) {
    if (n < 1 || n > levels::kLevelCount) return;
    const levels::LevelDefinition& level = levels::levelDefinition(n);

    state.levelNumber = static_cast<uint8_t>(n);
    if (n == 1) state.playEntered = 1;

    for (int d = 1; d <= levels::kDiamonds; ++d) {
        state.diamonds[d].x = level.diamonds[d - 1].x;
        state.diamonds[d].y = level.diamonds[d - 1].y;
    }
    for (int g = 1; g <= kOrbGroups; ++g) state.orbs[g].count = level.orbCounts[g - 1];

    state.exitSoundPlayed = 0;
    state.arrowsReversed = 0;
    state.levelFrames = 0;
    state.playerFrame = 10;
    state.walkCounter = 0;
    state.playerDirection = 0;
    state.powerUpActive = 0;
    state.powerUpFrames = 0;
    state.wallX = 0;
    state.playerSpeed = 2;
    // Level 1 keeps the time the title screen set and clears the bonus instead.
    if (n == 1) {
        state.levelTimeOffset = 0;
    } else {
        state.timePercent = 100;
    }
    state.backgroundIntensity = 255;
    state.levelCompleted = 0;

    state.exitX = level.exit.x;
    state.exitY = level.exit.y;
    state.backgroundOriginX = 50;
    state.backgroundOriginY = 0;

    for (int d = 1; d <= levels::kDiamonds; ++d) {
        state.diamonds[d].frame = static_cast<int8_t>(core::randomRange(8, 1));
        state.diamonds[d].frameTimer = 1;
    }

    state.pickupReady = 1;
    state.pickupCooldown = 130;
    state.playerDying = 0;
    state.burstIntensity = 254;
    state.burstFrames = 0;
    state.diamondsCollected = 0;
    state.exitArrowDX = -10;
    state.exitArrowDY = 17;

    // The skull group's label array is never read, so clearing it is harmless.
    const int cleared = clearedOrbs(n);
    for (int g = 1; g <= kOrbGroups; ++g) {
        OrbGroup& group = state.orbs[g];
        for (int i = 1; i <= cleared; ++i) {
            group.x[i] = 0;
            group.y[i] = 0;
            group.opacity[i] = 254;
            group.label[i] = 0;
            group.taken[i] = 0;
        }
    }

    for (int d = 1; d <= levels::kDiamonds; ++d) {
        Diamond& diamond = state.diamonds[d];
        diamond.touched = 0;
        diamond.labelIntensity = 0;
        diamond.intensity = 254;
        diamond.scored = 0;
    }

    state.playerX = 70;
    state.playerY = 280;

    size_t next = 0;
    for (int g = 1; g <= kOrbGroups; ++g) {
        OrbGroup& group = state.orbs[g];
        for (int i = 1; i <= group.count; ++i, ++next) {
            group.x[i] = level.orbs[next].x;
            group.y[i] = level.orbs[next].y;
        }
    }
}

}  // namespace game
