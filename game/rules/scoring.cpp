// SPDX-License-Identifier: MIT
#include "game/rules/scoring.h"

#include "core/numbers.h"
#include "core/strings.h"

namespace game {

using core::formatInteger;

void runPowerUpTimer(GameState& s) {
    if (s.powerUpActive != 1) return;
    ++s.powerUpFrames;
    double truncated = static_cast<double>(core::truncateToInteger(-0.0243902 * s.powerUpFrames));
    s.powerUpDigit = core::roundToEven(truncated + 9.02439024);
    s.powerUpDigitText = formatInteger(s.powerUpDigit);
    if (s.powerUpFrames == 400) {
        s.playerSpeed = 2;
        s.arrowsReversed = 0;
        s.powerUpActive = 0;
        s.powerUpFrames = 0;
    }
}

void updateHiscoreFigures(GameState& s) {
    const auto& table = s.hiscoreScores;
    int32_t tenth = table[10];
    // A tenth score of 0 would divide by zero: the whole table is beaten then.
    float percent = 100.0f;
    if (tenth != 0) percent = core::roundFloat(static_cast<float>(static_cast<double>(s.score) / tenth * 100.0), 2);
    s.hallOfFamePercent = percent > 100.0f ? 100 : static_cast<int32_t>(percent);
    s.percentText = formatInteger(s.hallOfFamePercent);

    s.rankPosition = 0;
    bool placed = false;
    for (int row = 10; row >= 2 && !placed; --row) {
        if (table[row] <= s.score && s.score < table[row - 1]) {
            s.rankPosition = static_cast<int8_t>(row);
            placed = true;
        }
    }
    if (!placed) s.rankPosition = s.score < table[1] ? 0 : 1;
    s.rankText = formatInteger(s.rankPosition);
    s.levelText = formatInteger(s.levelNumber);
}

void scoreForTime(GameState& s) {
    s.score = s.score + 2 * s.timePercent - 2 * s.lastTimePercent;
    s.lastTimePercent = s.timePercent;
}

void limitScoreAndMakeTexts(GameState& s) {
    if (s.score > 99999) s.score = 99999;
    else if (s.score < 0) s.score = 0;
    s.scoreText = formatInteger(s.score);
    // 64-bit difference: a hiscore file may hold any 32-bit score.
    s.recordDistance = static_cast<int32_t>(int64_t{s.hiscoreScores[1]} - s.score);
    s.recordDistanceText = formatInteger(s.recordDistance);
    s.timeText = formatInteger(s.timePercent);
}

}  // namespace game
