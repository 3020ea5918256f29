// SPDX-License-Identifier: MIT
#include "game/screens/level_render.h"

#include "core/numbers.h"
#include "game/rules/catalogue.h"
#include "game/rules/orb_kinds.h"
#include "game/rules/play_field.h"
#include "game/rules/sound_effects.h"
#include "game/screens/number_text.h"
#include "media/screen.h"

namespace game {

using core::roundToEven;
using media::displaySprite;
using media::displaySpriteTinted;

namespace {
constexpr int64_t kGold = 228 + 208 * 256 + 117 * 65536;
constexpr int64_t kGreen = 255 * 256;

void drawOrbs(const GameState& s) {
    for (int group = 1; group <= kOrbGroups; ++group) {
        const OrbGroup& orbs = s.orbs[group];
        const OrbKindInfo& kind = orbKind(group);
        for (int i = 1; i <= orbs.count; ++i) {
            displaySprite(kind.sprite, orbs.x[i], orbs.y[i], orbs.opacity[i]);
            if (group != Skull) displaySprite(kind.labelSprite, orbs.x[i] + 11, orbs.y[i] + 18, orbs.label[i]);
        }
    }
}

void drawLives(const GameState& s) {
    if (s.lives > 5) {
        for (int i = 1; i <= 5; ++i) displaySprite(sprite::LifeHeart, 24 * i - 13, 539, 230);
    } else {
        for (int i = 1; i <= s.lives; ++i) displaySprite(sprite::LifeHeart, 24 * i - (10 * s.lives - 39), 539, 230);
    }
}

void drawStatusNumbers(const GameState& s) {
    auto centred = [](float base, float shift) {
        return [base, shift](int i, int n) { return roundToEven(static_cast<double>(shift * n + base + 12 * i)); };
    };
    drawNumberText(s.levelText, centred(static_cast<float>(s.levelTextX), s.centreShift), s.levelTextY, kWhite);
    drawNumberText(s.timeText, centred(s.timeTextX, s.centreShift), s.timeTextY, kWhite);
    drawNumberText(
        s.scoreText, [&](int i, int n) { return 12 * i + s.scoreTextShift * n + s.scoreTextX; }, s.scoreTextY, kWhite);

    if (s.recordDistance <= 0) displaySprite(sprite::RedDash, s.recordTextX + 20, s.recordTextY - 4, 215);
    else
        drawNumberText(
            s.recordDistanceText, [&](int i, int n) { return 12 * i + s.recordTextShift * n + s.recordTextX; },
            s.recordTextY, kGold);

    drawNumberText(
        s.percentText, [&](int i, int) { return s.percentTextX + 12 * i; }, s.percentTextY, kWhite);
    int signOffset = s.hallOfFamePercent < 10 ? 24 : s.hallOfFamePercent <= 99 ? 36 : 48;
    displaySpriteTinted(sprite::PercentSign, s.percentTextX + signOffset, s.percentTextY, 255, kWhite);

    displaySprite(s.score >= s.hiscoreScores[10] ? sprite::ThumbUp : sprite::ThumbDown, s.thumbX, s.thumbY, 205);

    if (s.rankPosition == 0) displaySprite(sprite::RedDash, s.rankTextX + 9, s.rankTextY - 8, 215);
    else
        drawNumberText(
            s.rankText, [&](int i, int) { return s.rankTextX + 12 * i; }, s.rankTextY, kGreen);
}

void drawPlayerOrBurst(GameState& s) {
    if (s.playerDying == 0) displaySprite(sprite::playerFrame(s.playerFrame), s.playerX, s.playerY, 255);
    if (s.playerDying != 1) return;
    if (s.burstFrame == 1 && s.soundOn == 1 && s.deathSoundPlayed == 0) {
        s.deathSoundPlayed = 1;
        playEffect(s, sound::Death);
    }
    if (s.burstFrame >= 1 && s.burstFrame <= 3)
        displaySprite(sprite::burst(s.burstFrame), s.playerX, s.playerY - 6, s.burstIntensity);
}

void drawDiamonds(const GameState& s) {
    for (int k = 1; k <= 5; ++k) {
        const Diamond& d = s.diamonds[k];
        displaySprite(sprite::diamond(k, d.frame), d.x, d.y, d.intensity);
        displaySprite(sprite::Points50, d.x - 3, d.y + 11, d.labelIntensity);
    }
}
}  // namespace

void drawLevelFrame(GameState& s) {
    media::clearScreen(0);
    displaySprite(sprite::background(s.backgroundIndex), s.backgroundOriginX - s.playerX,
                  s.backgroundOriginY - s.playerY, s.backgroundIntensity);
    if (s.timePercent < 40)
        for (int set = 1; set <= 4; ++set)
            for (int j = 1; j <= 4; ++j)
                displaySprite(sprite::bubble(set), s.bubbles[set].x[j], s.bubbles[set].y[j], 249);
    displaySprite(sprite::BrickStrip, 0, 0, 255);
    displaySprite(sprite::BrickStrip, 0, 479, 255);
    displaySprite(sprite::RightBorder, 1002, -2, 255);
    displaySprite(s.diamondsCollected == 5 ? sprite::DoorOpen : sprite::DoorClosed, s.exitX, s.exitY, 254);
    displaySprite(sprite::StatusPanel, 0, 527, 40);
    displaySprite(sprite::StatusCaptions, 42, 572, 255);
    displaySprite(sprite::Wall, s.wallX, kWallY, 255);
    drawOrbs(s);
    if (s.diamondsCollected == 5)
        displaySprite(sprite::ExitArrow, s.exitX + s.exitArrowDX, s.exitY + s.exitArrowDY, 254);
    if (s.playerSpeed == 3 || s.playerSpeed == 4 || s.arrowsReversed == 1) {
        if (s.powerUpDigitText.size() == 1 && digitSpriteOf(s.powerUpDigitText[0]) != 0)
            displaySpriteTinted(digitSpriteOf(s.powerUpDigitText[0]), s.playerX + 24, s.playerY - 13, 255, kWhite);
    }
    drawLives(s);
    drawStatusNumbers(s);
    drawPlayerOrBurst(s);
    drawDiamonds(s);
    if (s.bannerX < 1000) {
        displaySpriteTinted(sprite::LevelBanner, s.bannerX, 257, 255, kWhite);
        drawNumberText(
            s.levelText, [&](int i, int) { return s.bannerX + 55 + 12 * i; }, 257, kWhite);
    }
    media::flipBuffers();
}

}  // namespace game
