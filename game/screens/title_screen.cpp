// SPDX-License-Identifier: MIT
#include "game/screens/title_screen.h"

#include "core/clock.h"
#include "core/numbers.h"
#include "core/random.h"
#include "core/strings.h"
#include "game/rules/bubbles.h"
#include "game/rules/catalogue.h"
#include "game/rules/sound_effects.h"
#include "game/screens/asset_catalog.h"
#include "game/screens/digit_sprites.h"
#include "game/screens/level_entry.h"
#include "game/screens/screen_common.h"
#include "game/screens/title_tips.h"
#include "game/version.h"
#include "media/drawing.h"
#include "media/keyboard.h"
#include "media/screen.h"
#include "media/sound.h"
#include "media/window.h"

namespace game {

using namespace media;
using namespace core;

namespace {
void drawTip(const GameState& s) {
    const Tip* tip = findTip(s.tipNumber);
    if (!tip) return;
    displaySprite(sprite::tip(s.tipNumber), tip->x, s.tipY, s.tipIntensity);
    for (int i = 0; i < tip->iconCount; ++i)
        displaySprite(tip->icons[i].sprite, tip->icons[i].x, s.tipY + tip->icons[i].dy, s.tipIntensity);
}

void drawLetter(const std::string& character, int x, int y, int64_t tint) {
    int code = firstCharCode(character);
    if (character.size() == 1 && code >= 'a' && code <= 'z')
        displaySpriteTinted(sprite::letter(static_cast<char>(code)), x, y, 255, tint);
}

void drawDigit(const std::string& character, bool zeroAllowed, int x, int y, int64_t tint) {
    int code = firstCharCode(character);
    if (character.size() == 1 && code >= (zeroAllowed ? '0' : '1') && code <= '9')
        displaySpriteTinted(sprite::digit(code - '0'), x, y, 255, tint);
}

// First, second and last character of each name; the first five characters
// of each score, where a leading zero is never drawn.
void drawHiscorePanel(const GameState& s) {
    int64_t tint = rgb(s.hiscoreTintRed, s.hiscoreTintGreen, s.hiscoreTintBlue);
    for (int row = 1; row <= kHiscoreRows; ++row) {
        int y = s.hiscorePanelY + 15 * row;
        const std::string& name = s.hiscoreNameTexts[row];
        drawLetter(stringLeft(name, 1), s.hiscorePanelNameX, y, tint);
        drawLetter(stringMid(name, 2, 1), s.hiscorePanelNameX + 14, y, tint);
        drawLetter(stringRight(name, 1), s.hiscorePanelNameX + 28, y, tint);
    }
    for (int row = 1; row <= kHiscoreRows; ++row) {
        int y = s.hiscorePanelY + 15 * row;
        const std::string& score = s.hiscoreScoreTexts[row];
        for (int k = 1; k <= 5; ++k)
            drawDigit(stringMid(score, k, 1), k > 1, s.hiscorePanelScoreX + 14 * (k - 1), y, tint);
    }
}

void drawTitle(const GameState& s) {
    clearScreen(0);
    displaySprite(sprite::TitleBackground, 0, -71, s.titleFade);
    for (int j = 1; j <= kScreenBubbles.counts[5]; ++j)
        displaySprite(sprite::bubble(5), s.bubbles[5].x[j], s.bubbles[5].y[j], 240);
    displaySprite(sprite::SmallLogo, roundToEven(s.titleFade * -10.893333 + 2777.8), 550,
                  roundToEven(s.titleFade * -2.4666666 + 699.0));
    displaySprite(sprite::Logo, 190, 20, roundToEven(s.titleFade * -1.9333333 + 603.0));
    displaySprite(sprite::PressSpaceToStart, 328, 566, 230);
    displaySprite(sprite::HiscoreHeading, 440, 295, 229);
    displaySprite(s.soundOn == 1 ? sprite::SoundOn : sprite::SoundOff, 27, 561, 248);
    drawTip(s);
    drawHiscorePanel(s);
    for (int set = 1; set <= 4; ++set)
        for (int j = 1; j <= kScreenBubbles.counts[set]; ++j)
            displaySprite(sprite::bubble(set), s.bubbles[set].x[j], s.bubbles[set].y[j], 249);
    flipBuffers();
}

// Phases run in order within one frame, so the step of the next phase
// follows in the same frame.
void advanceTipCycle(GameState& s) {
    if (s.tipPhase == 0 && s.tipFrames == 560) s.tipPhase = 1;
    if (s.tipPhase == 1) {
        if (s.tipIntensity > 0) --s.tipIntensity;
        if (s.tipIntensity == 0) s.tipPhase = 2;
    }
    if (s.tipPhase == 2) {
        s.tipNumber = static_cast<uint8_t>(randomRange(s.tipCount, 1));
        s.tipPhase = 3;
    }
    if (s.tipPhase == 3) {
        if (s.tipIntensity < 255) ++s.tipIntensity;
        if (s.tipIntensity == 255) {
            s.tipFrames = 0;
            s.tipPhase = 0;
        }
    }
    ++s.tipFrames;
}
}  // namespace

void enterTitleScreen(GameState& s) {
    if (s.lastWindowX == -1 && s.lastWindowY == -1)
        openWindow(0, 0, 0, s.lastWindowWidth, s.lastWindowHeight, " Quandrite",
                   kWindowStyleOverlapped | kWindowCentred);
    else
        openWindow(0, s.lastWindowX, s.lastWindowY, s.lastWindowWidth, s.lastWindowHeight, " Quandrite",
                   kWindowStyleOverlapped);
    setWindowTitle(0, std::string(" Quandrite ") + kShortVersion);
    openWindowedScreen(windowHandle(0), 0, 0, s.lastWindowWidth, s.lastWindowHeight, 1, 0, 0);
    createDigitSprites();
    loadSpriteCatalogue(s);
    for (int row = 1; row <= kHiscoreRows; ++row) {
        s.hiscoreScoreTexts[row] = formatInteger(s.hiscoreScores[row]);
        s.hiscoreNameTexts[row] = s.hiscoreNames[row];
    }
    s.lifeBonusUsed = 0;
    s.score = 0;
    s.timePercent = 100;
    s.lastTimePercent = 0;
    s.hiscoreTintRed = 213;
    s.hiscoreTintGreen = 223;
    s.hiscoreTintBlue = 160;
    scatterBubblesFarBelow(s);
}

Screen titleFrame(GameState& s) {
    if (windowEvent() == kEventCloseWindow) return Screen::Closed;
    drawTitle(s);
    if (s.musicApplied == 0) {
        if (s.soundOn == 1) playSound(sound::Music, kPlayLooping, 65);
        else if (isSound(sound::Music)) stopSound(sound::Music);
        s.musicApplied = 1;
    }
    riseBubbles(s, kScreenBubbles);
    advanceTipCycle(s);

    examineKeyboard();
    if (startKeyDown()) {
        delayMilliseconds(301);
        s.levelEntryKind = 2;
        initLevelEntry(s);
        s.levelNumber = 1;
        return Screen::Play;
    }
    if (s.titleFade > 180) --s.titleFade;
    if (keyPushed(key::S) || keyPushed(key::M)) {
        delayMilliseconds(301);
        s.musicApplied = 0;
        s.soundOn = s.soundOn == 1 ? 0 : 1;
    }
    ++s.levelFrames;
    rememberWindowPlaceAndSize(s);
    return Screen::Title;
}

}  // namespace game
