// SPDX-License-Identifier: MIT
#include "game/screens/level_entry.h"

#include "core/clock.h"
#include "core/random.h"
#include "core/strings.h"
#include "game/rules/levels/levels.h"
#include "game/rules/sound_effects.h"
#include "media/window.h"

namespace game {

using core::randomRange;

void initLevelEntry(GameState& s) {
    if (s.levelEntryKind == 2) {
        s.levelNumber = 1;
        s.lives = 1;
        s.levelEntryKind = 0;
    }
    s.musicApplied = 0;
    s.backgroundIndex = static_cast<uint8_t>(randomRange(20, 1));
    // Always four bubbles in sets 1 to 4, whatever their counts; set 5 keeps its values.
    for (int set = 1; set <= 4; ++set) {
        BubbleSet& bubbles = s.bubbles[set];
        for (int j = 1; j <= 4; ++j) {
            bubbles.x[j] = static_cast<int32_t>(randomRange(980, 60));
            bubbles.y[j] = static_cast<int32_t>(randomRange(1600, 800));
            bubbles.speed[j] = static_cast<int32_t>(randomRange(3, 1));
        }
    }
    // Sound 5 keeps its volume: the play loop sets it for each warning.
    static constexpr int kVolumes[][2] = {{sound::Step, 30},    {sound::Pickup, 71},     {sound::Death, 67},
                                          {sound::Diamond, 71}, {sound::LevelStart, 70}, {sound::DoorOpens, 100},
                                          {sound::Spiral, 48},  {sound::Heart, 48}};
    for (const auto& [number, percent] : kVolumes) setEffectVolume(s, number, percent);

    s.gameWon = 0;
    s.diamondsCollected = 0;
    s.fireFrame = 1;
    s.animTick = 0;
    s.fadeMode = 0;
    s.levelStarted = 0;
    s.bannerX = 0;
    s.titleFade = 255;
    s.deathSoundPlayed = 0;

    s.scoreTextX = 502;
    s.scoreTextY = 548;
    s.scoreTextShift = -5;
    s.timeTextX = 247.33333f;
    s.timeTextY = 548;
    s.centreShift = -6.5f;
    s.levelTextX = 161;
    s.levelTextY = 548;
    s.percentTextX = 804;
    s.percentTextY = 548;
    s.thumbX = 870;
    s.thumbY = 541;
    s.rankTextX = 946;
    s.rankTextY = 548;
    s.recordTextX = 645;
    s.recordTextY = 548;
    s.recordTextShift = -5;
    s.diamondTrayY = 534;
    s.tipY = 218;
    s.hiscorePanelNameX = 430;
    s.hiscorePanelY = 344;
    s.hiscorePanelScoreX = 535;
    s.tipCount = 60;

    // Until a level has been played the first tip is the welcome.
    s.tipNumber = s.playEntered == 0 ? 23 : static_cast<uint8_t>(randomRange(s.tipCount, 1));
    s.tipFrames = 0;
    s.tipIntensity = 255;
}

Screen startLevel(GameState& s) {
    media::setWindowTitle(0, " Quandrite - Level " + core::formatInteger(s.levelNumber));
    playEffect(s, sound::LevelStart);
    if (s.levelNumber >= 1 && s.levelNumber <= 20) {
        setUpLevel(s, s.levelNumber);
    } else if (s.levelNumber == 21) {
        s.gameWon = 1;
        media::setWindowTitle(0, " Quandrite - Game Over");
        core::delayMilliseconds(301);
        return Screen::GameOver;
    } else {
        setUpLevel(s, 1);
    }
    return Screen::Play;
}

}  // namespace game
