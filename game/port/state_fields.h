// SPDX-License-Identifier: MIT
#pragma once
// Every field of GameState and of the records inside it, listed once, in the
// order of their declaration. The demo hash reads the record through these
// lists; each list is checked against its record's field count, so a field
// added to a record and not to its list stops the build.
#include <cstddef>
#include <tuple>

#include "game/rules/game_state.h"

namespace game {

namespace fields {

// Converts to any field's type, so that Record{AnyField{}, ...} compiles with
// at most as many of them as the record has fields.
struct AnyField {
    template <typename T>
    operator T() const;
};

template <typename Record, typename... Given>
constexpr size_t countOf() {
    if constexpr (requires { Record{Given{}..., AnyField{}}; }) return countOf<Record, Given..., AnyField>();
    else return sizeof...(Given);
}

template <typename Record, typename List>
constexpr bool listsEveryField = std::tuple_size_v<List> == countOf<Record>();

}  // namespace fields

inline constexpr std::tuple kOrbGroupFields{&OrbGroup::count,   &OrbGroup::x,     &OrbGroup::y,
                                            &OrbGroup::opacity, &OrbGroup::taken, &OrbGroup::label};

inline constexpr std::tuple kDiamondFields{&Diamond::x,          &Diamond::y,         &Diamond::frame,
                                           &Diamond::frameTimer, &Diamond::intensity, &Diamond::labelIntensity,
                                           &Diamond::touched,    &Diamond::scored};

inline constexpr std::tuple kBubbleSetFields{&BubbleSet::x, &BubbleSet::y, &BubbleSet::speed};

inline constexpr std::tuple kGameStateFields{
    // Status bar layout.
    &GameState::scoreTextX, &GameState::scoreTextY, &GameState::timeTextX, &GameState::timeTextY,
    &GameState::levelTextX, &GameState::levelTextY, &GameState::percentTextX, &GameState::percentTextY,
    &GameState::thumbX, &GameState::thumbY, &GameState::rankTextX, &GameState::rankTextY, &GameState::recordTextX,
    &GameState::recordTextY, &GameState::diamondTrayY, &GameState::centreShift, &GameState::scoreTextShift,
    &GameState::recordTextShift,
    // Title screen layout and tip cycle.
    &GameState::hiscorePanelNameX, &GameState::hiscorePanelY, &GameState::hiscorePanelScoreX, &GameState::tipY,
    &GameState::tipFrames, &GameState::tipCount, &GameState::tipNumber, &GameState::tipPhase, &GameState::tipIntensity,
    &GameState::titleFade, &GameState::hiscoreTintRed, &GameState::hiscoreTintGreen, &GameState::hiscoreTintBlue,
    &GameState::musicApplied, &GameState::soundOn,
    // The window.
    &GameState::lastWindowX, &GameState::lastWindowY, &GameState::lastWindowWidth, &GameState::lastWindowHeight,
    // The level.
    &GameState::levelNumber, &GameState::levelEntryKind, &GameState::levelStarted, &GameState::levelCompleted,
    &GameState::playEntered, &GameState::gameWon, &GameState::levelFrames, &GameState::levelTimeOffset,
    &GameState::timePercent, &GameState::lastTimePercent, &GameState::wallX, &GameState::backgroundIndex,
    &GameState::backgroundIntensity, &GameState::backgroundOriginX, &GameState::backgroundOriginY, &GameState::bannerX,
    &GameState::exitX, &GameState::exitY, &GameState::exitArrowDX, &GameState::exitArrowDY, &GameState::exitSoundPlayed,
    // The player.
    &GameState::playerX, &GameState::playerY, &GameState::playerSpeed, &GameState::playerDirection,
    &GameState::playerFrame, &GameState::walkCounter, &GameState::arrowsReversed, &GameState::pickupReady,
    &GameState::pickupCooldown, &GameState::lives, &GameState::lifeBonusUsed,
    // Dying.
    &GameState::playerDying, &GameState::burstIntensity, &GameState::burstFrames, &GameState::burstFrame,
    &GameState::deathSoundPlayed,
    // Power-ups.
    &GameState::powerUpActive, &GameState::powerUpFrames, &GameState::powerUpDigit, &GameState::powerUpDigitText,
    // Orbs, diamonds, bubbles.
    &GameState::orbs, &GameState::fadeMode, &GameState::diamonds, &GameState::diamondsCollected, &GameState::bubbles,
    // Score and the figures measured against the hiscore table.
    &GameState::score, &GameState::recordDistance, &GameState::hallOfFamePercent, &GameState::rankPosition,
    &GameState::scoreText, &GameState::timeText, &GameState::levelText, &GameState::livesText,
    &GameState::recordDistanceText, &GameState::percentText, &GameState::rankText,
    // Game-over screen.
    &GameState::animTick, &GameState::fireFrame, &GameState::initialsCount, &GameState::initials,
    // The hiscore table.
    &GameState::hiscoreNames, &GameState::hiscoreScores, &GameState::hiscoreScoreTexts, &GameState::hiscoreNameTexts};

static_assert(fields::listsEveryField<OrbGroup, decltype(kOrbGroupFields)>, "an OrbGroup field is not listed");
static_assert(fields::listsEveryField<Diamond, decltype(kDiamondFields)>, "a Diamond field is not listed");
static_assert(fields::listsEveryField<BubbleSet, decltype(kBubbleSetFields)>, "a BubbleSet field is not listed");
static_assert(fields::listsEveryField<GameState, decltype(kGameStateFields)>, "a GameState field is not listed");

}  // namespace game
