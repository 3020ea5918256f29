// SPDX-License-Identifier: MIT
#include "game/rules/pickups.h"

#include "core/numbers.h"
#include "game/rules/orb_kinds.h"
#include "game/rules/play_field.h"
#include "game/rules/sound_effects.h"
#include "media/screen.h"

namespace game {

using core::roundToEven;
using media::spritesCollide;

namespace {
bool playerTouches(const GameState& s, int other, int x, int y) {
    return spritesCollide(kPlayerSprite, s.playerX, s.playerY, other, x, y) != 0;
}

bool wallTouches(const GameState& s, int other, int x, int y) {
    return spritesCollide(sprite::Wall, s.wallX, kWallY, other, x, y) != 0;
}

void playerTestsOrb(GameState& s, int group, int i) {
    OrbGroup& orbs = s.orbs[group];
    const OrbKindInfo& kind = orbKind(group);
    if (group == Skull) {
        if (playerTouches(s, kind.sprite, orbs.x[i], orbs.y[i])) {
            s.lifeBonusUsed = 1;
            s.playerDying = 1;
        }
        return;
    }
    if (!playerTouches(s, kind.sprite, orbs.x[i], orbs.y[i]) || orbs.opacity[i] != 254 || s.fadeMode == 2) return;
    playEffect(s, kind.sound);
    if (s.pickupReady == 1) {
        s.score += kind.points;
        if (group == Heart) {
            // One extra life per level at most; a death uses it up too.
            if (s.lifeBonusUsed == 0) ++s.lives;
            s.lifeBonusUsed = 1;
        }
        s.fadeMode = 1;
    }
    s.pickupReady = 0;
    orbs.taken[i] = 1;
}

void wallTestsOrb(GameState& s, int group, int i) {
    OrbGroup& orbs = s.orbs[group];
    if (!wallTouches(s, orbKind(group).sprite, orbs.x[i], orbs.y[i])) return;
    if (group == Skull) {
        orbs.taken[i] = 1;
    } else if (s.fadeMode != 1) {
        orbs.taken[i] = 1;
        s.fadeMode = 2;
    }
}

void applyEffect(GameState& s, OrbEffect effect) {
    switch (effect) {
    case OrbEffect::None: return;
    case OrbEffect::MoreTime100: s.levelFrames -= 100; return;
    case OrbEffect::MoreTime200: s.levelFrames -= 200; return;
    case OrbEffect::Speed4: s.playerSpeed = 4; break;
    case OrbEffect::Speed3: s.playerSpeed = 3; break;
    case OrbEffect::ReverseArrows: s.arrowsReversed = 1; break;
    case OrbEffect::TimerOnly: break;
    }
    s.powerUpActive = 1;
}

uint8_t curve(double a, double b, int o) { return static_cast<uint8_t>(roundToEven(a * o * o + b * o)); }
}  // namespace

void testOrbs(GameState& s) {
    for (int group = 1; group <= kOrbGroups; ++group) {
        for (int i = 1; i <= s.orbs[group].count; ++i) playerTestsOrb(s, group, i);
        for (int i = 1; i <= s.orbs[group].count; ++i) wallTestsOrb(s, group, i);
    }
}

void testDiamonds(GameState& s) {
    for (int k = 1; k <= 5; ++k) {
        Diamond& d = s.diamonds[k];
        if (!playerTouches(s, sprite::diamond(k, 1), d.x, d.y)) continue;
        d.touched = 1;
        if (d.scored == 0) {
            s.score += 50;
            d.scored = 1;
            playEffect(s, sound::Diamond);
        }
    }
}

void testBubbles(GameState& s) {
    if (s.timePercent >= 40) return;
    for (int set = 1; set <= 4; ++set)
        for (int j = 1; j <= 4; ++j)
            if (playerTouches(s, sprite::bubble(set), s.bubbles[set].x[j], s.bubbles[set].y[j])) ++s.score;
}

void fadeDiamonds(GameState& s) {
    for (int k = 1; k <= 5; ++k) {
        Diamond& d = s.diamonds[k];
        if (d.touched != 1) continue;
        if (d.intensity == 254) ++s.diamondsCollected;
        if (d.intensity >= 2) {
            d.intensity -= 3;
            d.labelIntensity = curve(-0.0156865, 3.96868848, d.intensity);
            if (d.intensity <= 0) {
                d.x = 320 + 23 * (k - 1);
                d.y = s.diamondTrayY;
                d.intensity = 254;
                d.touched = 0;
                d.labelIntensity = 0;
            }
        }
    }
}

void fadeOrbs(GameState& s) {
    for (int group = 1; group <= kOrbGroups; ++group) {
        OrbGroup& orbs = s.orbs[group];
        if (group == Skull) {
            for (int i = 1; i <= orbs.count; ++i) {
                if (orbs.taken[i] != 1 || orbs.opacity[i] < 2) continue;
                orbs.opacity[i] -= 2;
                if (orbs.opacity[i] == 0) orbs.x[i] = -2000;
            }
            continue;
        }
        // The mode is read once per group: an orb whose fade ends sets it to 0
        // for the groups after it, whose taken orbs then wait half-faded.
        int8_t mode = s.fadeMode;
        if (mode != 1 && mode != 2) continue;
        for (int i = 1; i <= orbs.count; ++i) {
            if (orbs.taken[i] != 1 || orbs.opacity[i] < 2) continue;
            orbs.opacity[i] -= 2;
            if (mode == 1) orbs.label[i] = curve(-0.0158139, 4.01674418, orbs.opacity[i]);
            if (orbs.opacity[i] == 0) {
                orbs.x[i] = -2000;
                s.fadeMode = 0;
                if (mode == 1) applyEffect(s, orbKind(group).effect);
            }
        }
    }
}

void spinDiamonds(GameState& s) {
    for (int k = 1; k <= 5; ++k) {
        Diamond& d = s.diamonds[k];
        ++d.frameTimer;
        if (d.frameTimer == 7) {
            ++d.frame;
            d.frameTimer = 1;
        }
        if (d.frame == 9) d.frame = 1;
    }
}

}  // namespace game
