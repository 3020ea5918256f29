// SPDX-License-Identifier: MIT
#pragma once
// Everything the game remembers, in one record. A fresh GameState{} is the
// zero-filled record the program starts from; start-up then fills in the
// values that are not zero (default hiscore table, window defaults).
#include <array>
#include <cstdint>
#include <string>

namespace game {

// Arrays are used from element 1; element 0 is never touched, so the
// numbers in the code are the numbers a player would count.
constexpr int kMaxOrbsPerGroup = 50;
constexpr int kMaxBubblesPerSet = 150;
constexpr int kHiscoreRows = 10;

// The nine kinds of orb, in the order every loop over them runs.
enum OrbKind : int { Silver = 1, Skull, Sun, Tree, Fire, Purple, Ice, Spiral, Heart };
constexpr int kOrbGroups = 9;

struct OrbGroup {
    uint8_t count = 0;
    std::array<int32_t, kMaxOrbsPerGroup + 1> x{};
    std::array<int32_t, kMaxOrbsPerGroup + 1> y{};
    std::array<uint8_t, kMaxOrbsPerGroup + 1> opacity{};  // 254 = untouched
    std::array<int8_t, kMaxOrbsPerGroup + 1> taken{};
    std::array<uint8_t, kMaxOrbsPerGroup + 1> label{};  // opacity of the points label (unused by skulls)
    bool operator==(const OrbGroup&) const = default;
};

struct Diamond {
    int32_t x = 0;
    int32_t y = 0;
    int8_t frame = 0;       // spin picture 1..8
    int8_t frameTimer = 0;  // 1..6
    int32_t intensity = 0;  // 254 at rest
    uint8_t labelIntensity = 0;
    int8_t touched = 0;
    int8_t scored = 0;
    bool operator==(const Diamond&) const = default;
};

struct BubbleSet {
    std::array<int32_t, kMaxBubblesPerSet + 1> x{};
    std::array<int32_t, kMaxBubblesPerSet + 1> y{};
    std::array<int32_t, kMaxBubblesPerSet + 1> speed{};
    bool operator==(const BubbleSet&) const = default;
};

struct GameState {
    // Status bar layout (set by initLevelEntry; the game-over screen reuses some).
    int32_t scoreTextX = 0, scoreTextY = 0;
    float timeTextX = 0;
    int32_t timeTextY = 0;
    int32_t levelTextX = 0, levelTextY = 0;
    int32_t percentTextX = 0, percentTextY = 0;
    int32_t thumbX = 0, thumbY = 0;
    int32_t rankTextX = 0, rankTextY = 0;
    int32_t recordTextX = 0, recordTextY = 0;
    int32_t diamondTrayY = 0;
    float centreShift = 0;
    int8_t scoreTextShift = 0, recordTextShift = 0;

    // Title screen layout and tip cycle.
    int32_t hiscorePanelNameX = 0;
    int32_t hiscorePanelY = 0;
    int32_t hiscorePanelScoreX = 0;
    int32_t tipY = 0;
    int32_t tipFrames = 0;
    uint8_t tipCount = 0;
    uint8_t tipNumber = 0;
    int8_t tipPhase = 0;  // 0 showing, 1 fading out, 2 choosing, 3 fading in
    uint8_t tipIntensity = 0;
    uint8_t titleFade = 0;
    uint8_t hiscoreTintRed = 0, hiscoreTintGreen = 0, hiscoreTintBlue = 0;
    int8_t musicApplied = 0;  // 0 = the title loop must apply soundOn to the music
    int8_t soundOn = 0;

    // The window, remembered so each title screen reopens it where it was.
    int32_t lastWindowX = 0, lastWindowY = 0;
    int32_t lastWindowWidth = 0, lastWindowHeight = 0;

    // The level.
    uint8_t levelNumber = 0;    // 1..20; 21 = all done
    int8_t levelEntryKind = 0;  // 0 next level, 1 same level after the wall, 2 new game
    int8_t levelStarted = 0;
    int8_t levelCompleted = 0;
    int8_t playEntered = 0;
    int8_t gameWon = 0;
    int32_t levelFrames = 0;
    uint8_t levelTimeOffset = 0;
    int32_t timePercent = 0;
    int32_t lastTimePercent = 0;
    int32_t wallX = 0;
    uint8_t backgroundIndex = 0;
    uint8_t backgroundIntensity = 0;
    int32_t backgroundOriginX = 0, backgroundOriginY = 0;
    int32_t bannerX = 0;
    int32_t exitX = 0, exitY = 0;
    int32_t exitArrowDX = 0, exitArrowDY = 0;
    int8_t exitSoundPlayed = 0;

    // The player.
    int32_t playerX = 0, playerY = 0;
    int8_t playerSpeed = 0;
    int8_t playerDirection = 0;  // 0 standing, 1 right, 2 left, 3 down, 4 up
    uint8_t playerFrame = 0;
    uint8_t walkCounter = 0;
    int8_t arrowsReversed = 0;
    int8_t pickupReady = 0;
    uint8_t pickupCooldown = 0;
    int8_t lives = 0;
    int8_t lifeBonusUsed = 0;

    // Dying.
    int8_t playerDying = 0;
    int32_t burstIntensity = 0;  // 254 = no burst running
    int32_t burstFrames = 0;
    int8_t burstFrame = 0;  // never reset: each burst starts where the last one ended
    int8_t deathSoundPlayed = 0;

    // Power-ups.
    int8_t powerUpActive = 0;
    int32_t powerUpFrames = 0;
    int32_t powerUpDigit = 0;
    std::string powerUpDigitText;

    // Orbs (groups 1..9), diamonds (1..5), bubbles (sets 1..5).
    std::array<OrbGroup, kOrbGroups + 1> orbs{};
    int8_t fadeMode = 0;  // 0 none, 1 a pickup fades, 2 the wall's orbs fade
    std::array<Diamond, 6> diamonds{};
    int8_t diamondsCollected = 0;
    std::array<BubbleSet, 6> bubbles{};

    // Score and the figures measured against the hiscore table.
    int32_t score = 0;
    int32_t recordDistance = 0;
    int32_t hallOfFamePercent = 0;
    int8_t rankPosition = 0;
    std::string scoreText, timeText, levelText, livesText;
    std::string recordDistanceText, percentText, rankText;

    // Game-over screen: the fire animation and the initials being typed.
    int32_t animTick = 0;
    uint8_t fireFrame = 0;
    int8_t initialsCount = 0;               // slots closed, 0..3; 4 once the entry is complete
    std::array<std::string, 4> initials{};  // slots 1..3, each empty or one letter

    // The hiscore table, rows 1..10, best first.
    std::array<std::string, kHiscoreRows + 1> hiscoreNames{};
    std::array<int32_t, kHiscoreRows + 1> hiscoreScores{};
    std::array<std::string, kHiscoreRows + 1> hiscoreScoreTexts{};
    std::array<std::string, kHiscoreRows + 1> hiscoreNameTexts{};

    // Field by field, every field.
    bool operator==(const GameState&) const = default;
};

// The default table every run starts from, before the hiscore file is read.
void fillDefaultHiscores(GameState& state);

}  // namespace game
