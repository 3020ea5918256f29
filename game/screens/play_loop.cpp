// SPDX-License-Identifier: MIT
#include "game/screens/play_loop.h"

#include "core/clock.h"
#include "core/numbers.h"
#include "game/rules/bubbles.h"
#include "game/rules/pickups.h"
#include "game/rules/play_field.h"
#include "game/rules/player_moves.h"
#include "game/rules/scoring.h"
#include "game/rules/sound_effects.h"
#include "game/screens/level_entry.h"
#include "game/screens/level_render.h"
#include "game/screens/screen_common.h"
#include "media/keyboard.h"
#include "media/screen.h"
#include "media/sound.h"
#include "media/window.h"

namespace game {

using media::keyPushed;
namespace key = media::key;

namespace {
void moveBanner(GameState& s) {
    if (s.bannerX >= 1000) return;
    if (s.bannerX < 457) s.bannerX += 5;
    if (s.bannerX < 1100 && s.levelStarted == 1) s.bannerX += 5;
}

// 100 % for frames 0 to 5, then a point about every 10 frames; 0 at frame 996.
void updateTime(GameState& s) {
    s.timePercent = core::roundToEven(-0.1001001 * s.levelFrames + s.levelTimeOffset + 100.1001);
    if (s.timePercent < 0) s.timePercent = 0;
}

// Once the time is out the wall sweeps in, faster in later levels.
void moveWall(GameState& s) {
    if (s.timePercent != 0) return;
    if (s.levelCompleted == 0) {
        s.backgroundIntensity = 200;
        if (s.levelNumber >= 1 && s.levelNumber <= 20) s.wallX += (s.levelNumber - 1) / 5 + 1;
    }
    if (s.wallX >= 953) s.wallX = 953;
}

void wallHitsPlayer(GameState& s) {
    if (s.timePercent == 0 && s.wallX < 940 &&
        media::spritesCollide(kPlayerSprite, s.playerX, s.playerY, sprite::Wall, s.wallX, kWallY)) {
        s.playerDying = 1;
        s.lifeBonusUsed = 1;
    }
}

void countPickupPause(GameState& s) {
    if (s.pickupReady != 0) return;
    --s.pickupCooldown;
    if (s.pickupCooldown == 0) {
        s.pickupReady = 1;
        s.pickupCooldown = 130;
    }
}

void slideExitArrow(GameState& s) {
    if (s.diamondsCollected != 5) return;
    ++s.exitArrowDX;
    if (s.exitArrowDX == 0) s.exitArrowDX = -40;
}

void enterOpenDoor(GameState& s) {
    if (s.diamondsCollected == 5 &&
        media::spritesCollide(kPlayerSprite, s.playerX, s.playerY, sprite::DoorOpen, s.exitX, s.exitY)) {
        s.levelCompleted = 1;
        ++s.score;
    }
}

void soundTimeWarnings(GameState& s) {
    if (s.timePercent == 40) {
        setEffectVolume(s, sound::TimeWarning, 7);
        playEffect(s, sound::TimeWarning);
    }
    if (s.timePercent == 10) {
        setEffectVolume(s, sound::TimeWarning, 59);
        playEffect(s, sound::TimeWarning);
    }
}

void countFrames(GameState& s) {
    if (s.levelStarted != 1) return;
    if (s.playerDying == 0) ++s.levelFrames;
    if (s.playerDying == 1) ++s.burstFrames;
}
}  // namespace

Screen enterPlayLoop(GameState& s) {
    s.playEntered = 1;
    if (s.soundOn == 1 && media::isSound(sound::Music)) media::stopSound(sound::Music);
    return startLevel(s);
}

Screen playFrame(GameState& s) {
    if (media::windowEvent() == media::kEventCloseWindow) return Screen::Closed;
    drawLevelFrame(s);
    media::examineKeyboard();
    if (keyPushed(key::Escape)) {
        core::delayMilliseconds(300);
        initLevelEntry(s);
        return Screen::Title;
    }
    if (s.levelStarted == 0 && startKeyDown()) {
        core::delayMilliseconds(121);
        s.levelStarted = 1;
    }
    if (s.levelStarted == 1) walk(s);
    testOrbs(s);
    testDiamonds(s);
    testBubbles(s);
    wallHitsPlayer(s);
    runPowerUpTimer(s);
    fadeDiamonds(s);
    fadeOrbs(s);
    countPickupPause(s);
    if (s.backgroundIntensity > 87 && s.levelCompleted == 0) --s.backgroundIntensity;
    moveBanner(s);
    updateTime(s);
    moveWall(s);
    animateWalking(s);
    standStill(s);
    spinDiamonds(s);
    runDeathBurst(s);
    slideExitArrow(s);
    enterOpenDoor(s);

    if (s.levelCompleted == 1) {
        s.backgroundIntensity -= 2;
        if (s.backgroundIntensity <= 10) {
            s.levelEntryKind = 0;
            initLevelEntry(s);
            s.lifeBonusUsed = 0;
            ++s.levelNumber;
            if (startLevel(s) == Screen::GameOver) return Screen::GameOver;
        }
    }
    if (s.wallX == 953) {
        // The wall reached the far side: the same level again, score and lives kept.
        core::delayMilliseconds(421);
        s.levelEntryKind = 1;
        initLevelEntry(s);
        startLevel(s);
    }
    if (s.lives < 1 && (s.burstIntensity <= 30 || s.burstIntensity == 254)) {
        core::delayMilliseconds(301);
        s.gameWon = 0;
        return Screen::GameOver;
    }
    updateHiscoreFigures(s);
    scoreForTime(s);
    if (s.timePercent < 40) riseBubbles(s, kLevelBubbles);
    soundTimeWarnings(s);
    if (s.soundOn == 1 && s.diamondsCollected == 5 && s.exitSoundPlayed == 0) {
        s.exitSoundPlayed = 1;
        media::playSound(sound::DoorOpens, 0, -1);
    }
    limitScoreAndMakeTexts(s);
    countFrames(s);
    if (s.lives < 0) s.lives = 0;
    rememberWindowPlaceAndSize(s);
    return Screen::Play;
}

}  // namespace game
