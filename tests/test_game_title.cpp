// SPDX-License-Identifier: MIT
// The title screen: its picture, tips, hiscore panel, sound switch and start keys.
#include <string>

#include "core/random.h"
#include "game/rules/catalogue.h"
#include "game/screens/level_entry.h"
#include "game/screens/title_screen.h"
#include "game/version.h"
#include "game_fixture.h"
#include "media/keyboard.h"
#include "media/screen.h"
#include "media/sound.h"
#include "media/window.h"

using namespace game;
using testing_support::GameFixture;
namespace key = media::key;

namespace {
// A short, valid sound: 16-bit stereo PCM.
std::string tinyWave() {
    auto le32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    auto le16 = [](uint16_t v) { return std::string{char(v), char(v >> 8)}; };
    std::string samples(400, '\x10');
    return "RIFF" + le32(36 + samples.size()) + "WAVE" + "fmt " + le32(16) + le16(1) + le16(2) + le32(44100) +
           le32(44100 * 4) + le16(4) + le16(16) + "data" + le32(samples.size()) + samples;
}
}  // namespace

class Title : public GameFixture {
protected:
    void enter() {
        enterTitleScreen(s);
        draws.clear();
        sounds.clear();
    }
    Screen frame() {
        draws.clear();
        return titleFrame(s);
    }
    std::vector<media::DrawCall> drawsAtY(int y) const {
        std::vector<media::DrawCall> found;
        for (const media::DrawCall& call : draws)
            if (call.y == y) found.push_back(call);
        return found;
    }
};

TEST_F(Title, FirstTipIsTheWelcomeUntilALevelWasPlayed) {
    EXPECT_EQ(s.tipNumber, 23);
    s.playEntered = 1;
    bool other = false;
    for (int i = 0; i < 20; ++i) {
        initLevelEntry(s);
        ASSERT_GE(s.tipNumber, 1);
        ASSERT_LE(s.tipNumber, 60);
        other = other || s.tipNumber != 23;
    }
    EXPECT_TRUE(other);
}

TEST_F(Title, TipShowsFor560FramesFadesOutAndInWithTheChoiceInBetween) {
    enter();
    for (int i = 0; i < 560; ++i) frame();
    EXPECT_EQ(s.tipPhase, 0);
    EXPECT_EQ(s.tipIntensity, 255);
    frame();
    EXPECT_EQ(s.tipPhase, 1);
    EXPECT_EQ(s.tipIntensity, 254);
    for (int i = 0; i < 253; ++i) frame();
    EXPECT_EQ(s.tipIntensity, 1);
    EXPECT_EQ(s.tipNumber, 23);
    frame();  // reaches 0, chooses, and takes the first fade-in step
    EXPECT_EQ(s.tipPhase, 3);
    EXPECT_EQ(s.tipIntensity, 1);
    for (int i = 0; i < 254; ++i) frame();
    EXPECT_EQ(s.tipPhase, 0);
    EXPECT_EQ(s.tipFrames, 1);
    EXPECT_EQ(s.tipIntensity, 255);
}

TEST_F(Title, LogosSlideAndFadeWithTheBackground) {
    enter();
    frame();
    const media::DrawCall* small = findDraw(148);
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(small->x, 0);
    EXPECT_EQ(small->intensity, 70);
    EXPECT_EQ(findDraw(122)->intensity, 110);
    EXPECT_EQ(findDraw(150)->intensity, 255);
    for (int i = 0; i < 80; ++i) frame();
    EXPECT_EQ(s.titleFade, 180);
    EXPECT_EQ(findDraw(148)->x, 817);
    EXPECT_EQ(findDraw(148)->intensity, 255);
    EXPECT_EQ(findDraw(122)->intensity, 255);
}

TEST_F(Title, HiscorePanelDrawsFirstSecondAndLastLetterAndFiveDigits) {
    s.hiscoreNames[1] = "ab";
    s.hiscoreScores[1] = 123456;
    s.hiscoreNames[2] = "";
    s.hiscoreScores[2] = 0;
    s.hiscoreScores[3] = 1005;
    enter();
    frame();
    int64_t tint = 213 + 223 * 256 + 160 * 65536;
    std::vector<media::DrawCall> row1 = drawsAtY(359);
    std::vector<std::pair<int, int>> got;
    for (const auto& call : row1) {
        got.push_back({call.sprite, call.x});
        EXPECT_EQ(call.colour, tint);
    }
    std::vector<std::pair<int, int>> want = {{30, 430}, {31, 444}, {31, 458}, {21, 535},
                                             {22, 549}, {23, 563}, {24, 577}, {25, 591}};
    EXPECT_EQ(got, want);
    EXPECT_TRUE(drawsAtY(374).empty());  // no name, and a score of 0 shows no digit
    std::vector<int> row3;
    for (const auto& call : drawsAtY(389))
        if (call.sprite >= 20 && call.sprite <= 29) row3.push_back(call.x);
    EXPECT_EQ(row3, std::vector<int>({535, 549, 563, 577}));
}

TEST_F(Title, SoundSwitchStopsAndStartsTheMusic) {
    std::string wave = tinyWave();
    ASSERT_TRUE(media::loadSoundFromMemory(15, reinterpret_cast<const unsigned char*>(wave.data()), wave.size(), 0));
    s.soundOn = 0;
    enter();
    frame();
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0].kind, media::SoundCall::Stop);
    EXPECT_EQ(sounds[0].number, 15);

    hold({key::M});
    frame();
    EXPECT_EQ(s.soundOn, 1);
    EXPECT_EQ(clock.slept(), 301u);
    hold({});
    sounds.clear();
    frame();
    ASSERT_EQ(soundPlays(15), 1);
    for (const media::SoundCall& call : sounds)
        if (call.kind == media::SoundCall::Play) {
            EXPECT_EQ(call.value, media::kPlayLooping);
        }
    EXPECT_EQ(media::soundVolume(15), 65);
    sounds.clear();
    frame();
    EXPECT_TRUE(sounds.empty());  // applied once, not every frame
}

TEST_F(Title, HeldStartKeyStartsANewGameOnTheFirstFrame) {
    s.levelNumber = 7;
    s.lives = 4;
    enter();
    hold({key::NumpadEnter});
    EXPECT_EQ(frame(), Screen::Play);
    EXPECT_EQ(clock.slept(), 301u);
    EXPECT_EQ(s.levelNumber, 1);
    EXPECT_EQ(s.lives, 1);
}

TEST_F(Title, LevelEntryKeepsLevelAndLivesUnlessANewGameIsAsked) {
    for (int kind : {0, 1}) {
        s.levelEntryKind = static_cast<int8_t>(kind);
        s.levelNumber = 9;
        s.lives = 3;
        initLevelEntry(s);
        EXPECT_EQ(s.levelNumber, 9);
        EXPECT_EQ(s.lives, 3);
    }
}

TEST_F(Title, WindowComesBackWhereThePlayerLeftIt) {
    enter();
    EXPECT_EQ(media::windowTitle(0), std::string(" Quandrite ") + kShortVersion);
    s.lastWindowX = 123;
    s.lastWindowY = 45;
    s.lastWindowWidth = 800;
    s.lastWindowHeight = 500;
    enter();
    frame();
    EXPECT_EQ(s.lastWindowX, 123);
    EXPECT_EQ(s.lastWindowY, 45);
    EXPECT_EQ(s.lastWindowWidth, 800);
    EXPECT_EQ(s.lastWindowHeight, 500);
}

TEST_F(Title, FrameDrawsBackgroundLogosSwitchTipTableAndBubblesInOrder) {
    enter();
    s.tipNumber = 16;
    frame();
    std::vector<int> want = {150, 705, 705, 705, 148, 122, 59, 149, 163, 516, 67, 75, 83, 91, 99};
    for (int row = 1; row <= 10; ++row) {
        const std::string& name = s.hiscoreNames[row];
        for (char c : {name.front(), name[1], name.back()}) want.push_back(30 + (c - 'a'));
    }
    for (int row = 1; row <= 10; ++row)
        for (char c : std::to_string(s.hiscoreScores[row])) want.push_back(20 + (c - '0'));
    for (int set = 1; set <= 4; ++set)
        for (int j = 1; j <= 4; ++j) want.push_back(700 + set);
    std::vector<int> got;
    for (const media::DrawCall& call : draws) got.push_back(call.sprite);
    EXPECT_EQ(got, want);

    auto at = [&](int sprite) {
        const media::DrawCall* call = findDraw(sprite);
        return call ? std::vector<int>{call->x, call->y, call->intensity} : std::vector<int>{};
    };
    EXPECT_EQ(at(150), std::vector<int>({0, -71, 255}));
    EXPECT_EQ(at(59), std::vector<int>({328, 566, 230}));
    EXPECT_EQ(at(149), std::vector<int>({440, 295, 229}));
    EXPECT_EQ(at(163), std::vector<int>({27, 561, 248}));
    EXPECT_EQ(at(516), std::vector<int>({448, 218, 255}));
    EXPECT_EQ(at(99), std::vector<int>({409, 214, 255}));
    EXPECT_EQ(findDraw(705)->intensity, 240);
    EXPECT_EQ(findDraw(704, 3)->intensity, 249);

    s.soundOn = 0;
    s.tipNumber = 61;  // no such tip
    frame();
    EXPECT_EQ(drawsOf(163), 0);
    EXPECT_EQ(at(164), std::vector<int>({27, 561, 248}));
    for (const media::DrawCall& call : draws) EXPECT_FALSE(call.sprite > 500 && call.sprite <= 560);
}

// The same seed replayed in the documented order must give the same bubbles.
TEST_F(Title, BubblesStartFarBelowAndComeBackBelowTheScreenWithNewDraws) {
    core::seedRandom(777);
    enter();
    core::seedRandom(777);
    struct Range {
        uint32_t lowestY, topSpeed;
    };
    const Range start[6] = {{}, {4000, 3}, {4000, 3}, {4000, 3}, {3000, 2}, {1500, 2}};
    const int counts[6] = {0, 4, 4, 4, 4, 3};
    for (int set = 1; set <= 5; ++set)
        for (int j = 1; j <= counts[set]; ++j) {
            EXPECT_EQ(s.bubbles[set].x[j], int32_t(core::randomRange(980, 60))) << set << "/" << j;
            EXPECT_EQ(s.bubbles[set].y[j], int32_t(core::randomRange(6500, start[set].lowestY))) << set << "/" << j;
            EXPECT_EQ(s.bubbles[set].speed[j], int32_t(core::randomRange(start[set].topSpeed, 1))) << set << "/" << j;
        }

    // Set 4's second and set 5's third bubble pass y -100 in this frame; the
    // rest of their set moves first, and only they draw new values.
    s.bubbles[4].y[2] = -99;
    s.bubbles[4].speed[2] = 2;
    s.bubbles[5].y[3] = -100;
    s.bubbles[5].speed[3] = 1;
    s.bubbles[3].y[1] = -98;
    s.bubbles[3].speed[1] = 2;
    int32_t untouchedY = s.bubbles[4].y[3];
    int32_t untouchedSpeed = s.bubbles[4].speed[3];
    s.tipFrames = 0;  // no tip choice in this frame
    core::seedRandom(4242);
    frame();
    core::seedRandom(4242);
    for (auto [set, j] : {std::pair{4, 2}, std::pair{5, 3}}) {
        EXPECT_EQ(s.bubbles[set].x[j], int32_t(core::randomRange(980, 60)));
        EXPECT_EQ(s.bubbles[set].y[j], int32_t(core::randomRange(1600, 800)));
        EXPECT_EQ(s.bubbles[set].speed[j], int32_t(core::randomRange(2, 1)));
    }
    EXPECT_EQ(s.bubbles[3].y[1], -100);  // at -100 it is not yet above the screen
    EXPECT_EQ(s.bubbles[4].y[3], untouchedY - untouchedSpeed);
}

TEST_F(Title, LevelEntryDrawsBackgroundThenFourBubblesOfSetsOneToFourThenTheTip) {
    s.playEntered = 1;
    s.bubbles[5].x[1] = 111;
    s.bubbles[5].y[1] = 2222;
    s.bubbles[5].speed[1] = 2;
    core::seedRandom(99);
    initLevelEntry(s);
    core::seedRandom(99);
    EXPECT_EQ(s.backgroundIndex, core::randomRange(20, 1));
    for (int set = 1; set <= 4; ++set)
        for (int j = 1; j <= 4; ++j) {
            EXPECT_EQ(s.bubbles[set].x[j], int32_t(core::randomRange(980, 60)));
            EXPECT_EQ(s.bubbles[set].y[j], int32_t(core::randomRange(1600, 800)));
            EXPECT_EQ(s.bubbles[set].speed[j], int32_t(core::randomRange(3, 1)));
        }
    EXPECT_EQ(s.tipNumber, core::randomRange(60, 1));
    EXPECT_EQ(s.bubbles[5].x[1], 111);
    EXPECT_EQ(s.bubbles[5].y[1], 2222);
    EXPECT_EQ(s.bubbles[5].speed[1], 2);
    EXPECT_EQ(s.titleFade, 255);
    EXPECT_EQ(s.tipFrames, 0);
    EXPECT_EQ(s.tipIntensity, 255);
}

TEST_F(Title, StartingALevelNamesItPlaysTheSoundAndAfterTheLastEndsTheGameAsWon) {
    s.soundOn = 1;
    s.levelNumber = 21;
    uint64_t slept = clock.slept();
    EXPECT_EQ(game::startLevel(s), Screen::GameOver);
    EXPECT_EQ(s.gameWon, 1);
    EXPECT_EQ(media::windowTitle(0), " Quandrite - Game Over");
    EXPECT_EQ(soundPlays(6), 1);
    EXPECT_EQ(clock.slept() - slept, 301u);

    // An unexpected level number is named as it is, then level 1 is set up; sound off plays nothing.
    s.levelNumber = 1;
    EXPECT_EQ(game::startLevel(s), Screen::Play);
    GameState levelOne = s;
    s.soundOn = 0;
    s.levelNumber = 0;
    sounds.clear();
    EXPECT_EQ(game::startLevel(s), Screen::Play);
    EXPECT_EQ(media::windowTitle(0), " Quandrite - Level 0");
    EXPECT_EQ(soundPlays(6), 0);
    EXPECT_EQ(s.levelNumber, 1);  // the set-up of level 1 makes it level 1
    EXPECT_EQ(s.exitX, levelOne.exitX);
    EXPECT_EQ(s.exitY, levelOne.exitY);
    for (int k = 1; k <= 5; ++k) EXPECT_EQ(s.diamonds[k].x, levelOne.diamonds[k].x);
    for (int group = 1; group <= kOrbGroups; ++group) EXPECT_EQ(s.orbs[group].count, levelOne.orbs[group].count);
}

// The loading step against the catalogue: every sprite there at its size
// (the status panel as wide as the window, and never narrower than the
// screen, even after a title shown in a smaller window), the digits made
// beside the pictures, and no number the catalogue does not list.
TEST_F(Title, EntryMakesEveryCatalogueSpriteAtItsSizeAndNoOther) {
    media::shutdownSprites();
    media::initSprites();
    s.lastWindowWidth = 800;
    enter();
    for (const SpriteInfo& info : kSprites) {
        SCOPED_TRACE("sprite " + std::to_string(info.number));
        ASSERT_TRUE(media::isSprite(info.number));
        EXPECT_EQ(media::spriteWidth(info.number), info.width);
        EXPECT_EQ(media::spriteHeight(info.number), info.height);
    }
    for (int number = 0; number <= 1000; ++number) {
        if (!findSprite(number)) {
            EXPECT_FALSE(media::isSprite(number)) << "sprite " << number;
        }
    }
}
