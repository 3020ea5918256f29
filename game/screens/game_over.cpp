// SPDX-License-Identifier: MIT
#include "game/screens/game_over.h"

#include "core/clock.h"
#include "core/numbers.h"
#include "core/strings.h"
#include "game/rules/bubbles.h"
#include "game/rules/catalogue.h"
#include "game/screens/hiscores.h"
#include "game/screens/level_entry.h"
#include "game/screens/number_text.h"
#include "game/screens/screen_common.h"
#include "media/gamepad.h"
#include "media/keyboard.h"
#include "media/screen.h"
#include "media/window.h"

namespace game {

using media::displaySprite;
using media::displaySpriteTinted;
using media::keyPushed;
namespace key = media::key;

bool qualifiesForTable(const GameState& s) { return s.score >= s.hiscoreScores[10]; }

namespace {
// A letter the gamepad has chosen but not typed: half as bright as a typed one.
constexpr int kChosenLetterIntensity = 120;
// Letter keys in the order they are looked at: a to z.
constexpr int kLetterKeys[26] = {key::A, key::B, key::C, key::D, key::E, key::F, key::G, key::H, key::I,
                                 key::J, key::K, key::L, key::M, key::N, key::O, key::P, key::Q, key::R,
                                 key::S, key::T, key::U, key::V, key::W, key::X, key::Y, key::Z};


bool acceptKeyDown() {
    return keyPushed(key::Escape) || keyPushed(key::Backspace) || keyPushed(key::Return) ||
           keyPushed(key::NumpadEnter) || keyPushed(key::Space);
}

int slotX(const GameState& s, int slot) { return s.thumbX + 14 * (slot - 1); }

void drawEntry(const GameState& s, int captionIntensity) {
    if (!qualifiesForTable(s)) {
        displaySprite(sprite::PressSpaceToMenu, 393, 400, captionIntensity);
        return;
    }
    displaySprite(sprite::EnterInitials, 425, 305, captionIntensity);
    // A gamepad chooses the open slot's letter, shown dimmed over the slot's
    // underscore until A or Start takes it, so it is plainly not yet typed.
    char chosen = media::gamepadLetter();
    for (int slot = s.initialsCount + 1; slot <= 3; ++slot) {
        displaySpriteTinted(sprite::Underscore, slotX(s, slot), 363, 255, kWhite);
        if (chosen && slot == s.initialsCount + 1)
            displaySpriteTinted(sprite::letter(chosen), slotX(s, slot), s.thumbY, kChosenLetterIntensity, kWhite);
    }
    if (s.initialsCount >= 1 && s.initialsCount <= 3) {
        for (int slot = 1; slot <= s.initialsCount; ++slot) {
            const std::string& letter = s.initials[slot];
            if (letter.size() == 1 && letter[0] >= 'a' && letter[0] <= 'z')
                displaySpriteTinted(sprite::letter(letter[0]), slotX(s, slot), s.thumbY, 255, kWhite);
        }
    }
}

void drawGameOver(const GameState& s) {
    media::clearScreen(0);
    displaySprite(sprite::GameOverBackground, 0, 0, 169);
    if (s.gameWon == 0) displaySprite(sprite::GameOverCaption, 450, 150, 255);
    if (s.gameWon == 1) {
        displaySprite(sprite::Congratulations, 418, 150, 255);
        displaySprite(sprite::fire(s.fireFrame), 110, 300, 250);
        displaySprite(sprite::fire(s.fireFrame), 875, 300, 250);
    }
    displaySprite(sprite::YourScore, 458, 212, 255);
    drawNumberText(
        s.scoreText, [](int i, int n) { return core::roundToEven(n * -5.9 + 500.4 + 12 * i); }, s.percentTextY, kWhite);
    drawEntry(s, static_cast<int>(core::truncateToInteger(s.backgroundIntensity * 1.4)));
    for (int set = 1; set <= 5; ++set)
        for (int j = 1; j <= kScreenBubbles.counts[set]; ++j)
            displaySprite(sprite::bubble(set), s.bubbles[set].x[j], s.bubbles[set].y[j], set == 5 ? 240 : 249);
    media::flipBuffers();
}

void advanceFire(GameState& s) {
    if (s.animTick == 10) {
        s.animTick = 0;
        s.fireFrame = s.fireFrame == 5 ? 1 : s.fireFrame + 1;
    }
    ++s.animTick;
}

void finishEntry(GameState& s) {
    saveEntry(s, s.initials[1] + s.initials[2] + s.initials[3]);
    initLevelEntry(s);
}
}  // namespace

void saveEntry(GameState& s, const std::string& name) {
    HiscoreFileHold hold;
    // Another window of the game may have saved its own entries since this
    // one read the table: they stay, and this game's goes in beside them.
    takeSavedTable(s);
    insertHiscore(s, s.score, name);
    core::delayMilliseconds(111);
    saveHiscores(s);
}

void insertHiscore(GameState& s, int32_t score, const std::string& name) {
    auto& scores = s.hiscoreScores;
    // The ten tests in their order; the first that holds gives the new row.
    int row = 0;
    if (scores[10] <= score && score < scores[9]) row = 10;
    for (int r = 9; r >= 2 && row == 0; --r)
        if (scores[r + 1] < score && score <= scores[r - 1]) row = r;
    if (row == 0 && score > scores[1]) row = 1;
    // Equal to both the ninth and the tenth score: below them, as every
    // other equal score, so it replaces the tenth row.
    if (row == 0 && score == scores[9] && score == scores[10]) row = 10;
    if (row == 0) return;
    for (int r = 10; r > row; --r) {
        scores[r] = scores[r - 1];
        s.hiscoreNames[r] = s.hiscoreNames[r - 1];
    }
    scores[row] = score;
    s.hiscoreNames[row] = name;
}

void enterGameOver(GameState& s) {
    media::setWindowTitle(0, " Quandrite - Game Over");
    s.backgroundIntensity = 0;
    s.levelFrames = 1;
    if (s.score > 99999) s.score = 99999;
    if (s.score < 0) s.score = 0;
    s.scoreText = core::formatInteger(s.score);
    s.initialsCount = 0;
    s.initials = {};
    s.percentTextY = 250;
    s.thumbX = 492;
    s.thumbY = 355;
    scatterBubblesFarBelow(s);
}

Screen gameOverFrame(GameState& s) {
    if (media::windowEvent() == media::kEventCloseWindow) return Screen::Closed;
    drawGameOver(s);
    riseBubbles(s, kScreenBubbles);
    if (s.backgroundIntensity < 177) s.backgroundIntensity += 2;
    if (s.initialsCount == 3) {
        // Let the player see the complete initials.
        s.initialsCount = 4;
        core::delayMilliseconds(1302);
    }
    advanceFire(s);
    media::examineKeyboard();
    if (!qualifiesForTable(s) && acceptKeyDown()) {
        core::delayMilliseconds(301);
        initLevelEntry(s);
        return Screen::Title;
    }
    if (qualifiesForTable(s) && s.initialsCount < 3 && acceptKeyDown()) {
        core::delayMilliseconds(199);
        ++s.initialsCount;
    }
    if (qualifiesForTable(s)) {
        for (int letter = 0; letter < 26; ++letter) {
            if (!keyPushed(kLetterKeys[letter])) continue;
            if (s.initialsCount >= 0 && s.initialsCount <= 2) {
                s.initials[s.initialsCount + 1] = std::string(1, static_cast<char>('a' + letter));
                core::delayMilliseconds(199);
                ++s.initialsCount;
            }
            break;
        }
    }
    if (s.initialsCount == 4) {
        finishEntry(s);
        return Screen::Title;
    }
    ++s.levelFrames;
    rememberWindowPlace(s);
    return Screen::GameOver;
}

}  // namespace game
