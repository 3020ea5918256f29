// SPDX-License-Identifier: MIT
#include "game/rules/player_moves.h"

#include "game/rules/sound_effects.h"
#include "media/keyboard.h"

namespace game {

using media::keyPushed;
namespace key = media::key;

namespace {
struct Direction {
    int key;
    int number;          // playerDirection
    uint8_t standFrame;  // the standing picture; the two after it are the walking steps
};
// In the order they are tested.
constexpr Direction kDirections[] = {{key::Right, 1, 10}, {key::Left, 2, 4}, {key::Down, 3, 1}, {key::Up, 4, 7}};

bool onlyThisArrowDown(int arrow) {
    if (!keyPushed(arrow)) return false;
    for (const Direction& other : kDirections)
        if (other.key != arrow && keyPushed(other.key)) return false;
    return true;
}

// The bound is tested before the step, so a step may carry the player past it.
bool stepAllowed(const GameState& s, int direction) {
    int x = s.playerX, y = s.playerY;
    if (s.arrowsReversed == 1) {
        switch (direction) {
        case 1: return x >= 53;
        case 2: return x <= 943;
        case 3: return y >= 51;
        default: return y <= 426;
        }
    }
    switch (direction) {
    case 1: return x >= 50 && x <= 943;
    case 2: return x >= 53 && x <= 946;
    case 3: return y >= 48 && y <= 426;
    default: return y >= 51 && y <= 430;
    }
}

void takeStep(GameState& s, int direction) {
    int step = s.arrowsReversed == 1 ? -s.playerSpeed : s.playerSpeed;
    switch (direction) {
    case 1: s.playerX += step; break;
    case 2: s.playerX -= step; break;
    case 3: s.playerY += step; break;
    default: s.playerY -= step; break;
    }
}
}  // namespace

bool anyArrowDown() {
    for (const Direction& d : kDirections)
        if (keyPushed(d.key)) return true;
    return false;
}

void walk(GameState& s) {
    if (s.pickupReady != 1 || s.playerDying != 0) return;
    for (const Direction& d : kDirections) {
        if (!onlyThisArrowDown(d.key) || !stepAllowed(s, d.number)) continue;
        if (s.playerDirection != d.number) {
            s.playerFrame = d.standFrame;
            s.playerDirection = static_cast<int8_t>(d.number);
            s.walkCounter = 11;
        }
        ++s.walkCounter;
        takeStep(s, d.number);
    }
}

void animateWalking(GameState& s) {
    if (s.playerDirection < 1 || s.playerDirection > 4) return;
    uint8_t stand = kDirections[s.playerDirection - 1].standFrame;
    if (s.walkCounter == 12) {
        s.playerFrame = stand + 1;
    } else if (s.walkCounter == 24) {
        s.playerFrame = stand + 2;
    } else if (s.walkCounter == 36) {
        s.playerFrame = stand + 1;
        s.walkCounter = 12;
    } else {
        return;
    }
    playEffect(s, sound::Step);
}

void standStill(GameState& s) {
    if (anyArrowDown() || s.playerDirection == 0) return;
    if (s.playerDirection >= 1 && s.playerDirection <= 4) s.playerFrame = kDirections[s.playerDirection - 1].standFrame;
    s.playerDirection = 0;
}

void runDeathBurst(GameState& s) {
    if (s.playerDying != 1) return;
    if (s.burstIntensity == 254) --s.lives;
    s.burstIntensity -= 2;
    if (s.burstFrames == 10) {
        s.burstFrame = 2;
    } else if (s.burstFrames == 20) {
        s.burstFrame = 3;
    } else if (s.burstFrames == 30) {
        s.burstFrame = 1;
        s.burstFrames = 1;
    }
    if (s.burstIntensity == 0) {
        s.playerDying = 0;
        s.burstFrames = 0;
        s.burstIntensity = 254;
        s.deathSoundPlayed = 0;
        s.playerX = s.timePercent == 0 ? 910 : 70;
        s.playerY = 280;
    }
}

}  // namespace game
