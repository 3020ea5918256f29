// SPDX-License-Identifier: MIT
// Orbs, diamonds and bubbles: what they pay, how they fade, what they do.
#include "game_fixture.h"
#include "media/window.h"

using namespace game;
using testing_support::GameFixture;

class Pickups : public GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        // Time frozen at 100 % so the score moves only with what is picked up.
        startLevel(1, false);
        clearOrbs();
        for (int k = 1; k <= 5; ++k) s.diamonds[k].x = -500;
        s.lastTimePercent = 100;
    }
    void frames(int n) {
        for (int i = 0; i < n; ++i) playFrame();
    }
};

TEST_F(Pickups, TwoOrbsUnderThePlayerPayOnceFadeTogetherAndBothTakeEffect) {
    placeOrb(Tree, 1, s.playerX, s.playerY);
    placeOrb(Tree, 2, s.playerX + 4, s.playerY);
    playFrame();
    EXPECT_EQ(s.score, 70);
    EXPECT_EQ(soundPlays(2), 2);
    EXPECT_EQ(s.orbs[Tree].taken[2], 1);
    frames(125);
    EXPECT_EQ(s.orbs[Tree].opacity[1], 2);
    EXPECT_EQ(s.levelFrames, 0);
    playFrame();
    EXPECT_EQ(s.orbs[Tree].x[1], -2000);
    EXPECT_EQ(s.orbs[Tree].x[2], -2000);
    EXPECT_EQ(s.levelFrames, -200);  // 10 % more time from each
    EXPECT_EQ(s.fadeMode, 0);
}

TEST_F(Pickups, LabelRisesAndFallsWhileTheOrbFades) {
    placeOrb(Sun, 1, s.playerX, s.playerY);
    playFrame();
    EXPECT_EQ(s.orbs[Sun].opacity[1], 252);
    int peak = 0;
    for (int i = 0; i < 126; ++i) {
        playFrame();
        peak = std::max<int>(peak, s.orbs[Sun].label[1]);
        if (s.orbs[Sun].opacity[1] == 128) {
            EXPECT_EQ(s.orbs[Sun].label[1], 255);
        }
    }
    EXPECT_EQ(peak, 255);
    EXPECT_EQ(s.orbs[Sun].label[1], 0);
}

TEST_F(Pickups, WallFadeBlocksPlayerPickupsAndPlayerFadeBlocksTheWallButNotSkulls) {
    // Groups are tested in order, so the wall takes the silver orb first.
    placeOrb(Silver, 1, 20, 100);  // under the wall standing at the left edge
    placeOrb(Sun, 1, s.playerX, s.playerY);
    playFrame();
    EXPECT_EQ(s.fadeMode, 2);
    EXPECT_EQ(s.orbs[Silver].taken[1], 1);
    EXPECT_EQ(s.orbs[Sun].taken[1], 0);
    EXPECT_EQ(s.score, 0);
    EXPECT_EQ(soundPlays(2), 0);
    frames(126);
    EXPECT_EQ(s.orbs[Silver].x[1], -2000);
    EXPECT_EQ(s.fadeMode, 0);
    playFrame();
    EXPECT_EQ(s.score, 30);  // the player's turn once the wall's fade is over
    EXPECT_EQ(s.fadeMode, 1);

    placeOrb(Purple, 1, 20, 300);
    placeOrb(Skull, 1, 10, 400);
    playFrame();
    EXPECT_EQ(s.orbs[Purple].taken[1], 0);
    EXPECT_EQ(s.orbs[Skull].taken[1], 1);
}

TEST_F(Pickups, AFireOrbLateInASpiralPowerUpEndsWithIt) {
    s.powerUpActive = 1;
    s.powerUpFrames = 300;
    s.arrowsReversed = 1;
    placeOrb(Fire, 1, 600, 100);
    s.orbs[Fire].taken[1] = 1;
    s.orbs[Fire].opacity[1] = 2;
    s.fadeMode = 1;
    playFrame();
    EXPECT_EQ(s.playerSpeed, 4);
    EXPECT_EQ(s.arrowsReversed, 1);
    frames(98);
    EXPECT_EQ(s.playerSpeed, 4);
    EXPECT_EQ(s.powerUpDigitText, "0");
    playFrame();
    EXPECT_EQ(s.playerSpeed, 2);
    EXPECT_EQ(s.arrowsReversed, 0);
    EXPECT_EQ(s.powerUpActive, 0);
}

TEST_F(Pickups, PowerUpDigitCountsDownFromNine) {
    s.powerUpActive = 1;
    std::vector<int> digits(401);
    for (int frame = 1; frame <= 400; ++frame) {
        playFrame();
        digits[frame] = s.powerUpDigit;
    }
    EXPECT_EQ(digits[1], 9);
    EXPECT_EQ(digits[41], 9);
    EXPECT_EQ(digits[42], 8);
    EXPECT_EQ(digits[329], 1);
    EXPECT_EQ(digits[369], 1);
    EXPECT_EQ(digits[370], 0);
    EXPECT_EQ(s.powerUpFrames, 0);
}

TEST_F(Pickups, HeartGivesOneLifePerLevelAndNoneAfterADeath) {
    placeOrb(Heart, 1, s.playerX, s.playerY);
    s.lives = 2;
    playFrame();
    EXPECT_EQ(s.lives, 3);
    EXPECT_EQ(s.score, 50);
    EXPECT_EQ(soundPlays(9), 1);

    frames(200);
    s.lifeBonusUsed = 1;  // as after a death in this level
    placeOrb(Heart, 2, s.playerX, s.playerY);
    playFrame();
    EXPECT_EQ(s.lives, 3);
    EXPECT_EQ(s.score, 100);
}

TEST_F(Pickups, SkullWithTheLastLifeEndsTheGameAfter112Frames) {
    s.lives = 1;
    placeOrb(Skull, 1, s.playerX + 10, s.playerY);
    Screen reached = Screen::Play;
    int frames = playUntilScreenChanges(300, &reached);
    EXPECT_EQ(reached, Screen::GameOver);
    EXPECT_EQ(frames, 112);
    EXPECT_EQ(s.gameWon, 0);
    EXPECT_EQ(s.lives, 0);
    EXPECT_EQ(clock.slept(), 301u);
}

TEST_F(Pickups, DiamondsPayFiftyFadeIn85FramesAndParkInTheTray) {
    s.diamonds[3].x = s.playerX + 10;
    s.diamonds[3].y = s.playerY + 5;
    playFrame();
    EXPECT_EQ(s.score, 50);
    EXPECT_EQ(s.diamondsCollected, 1);
    EXPECT_EQ(soundPlays(4), 1);
    frames(83);
    EXPECT_EQ(s.diamonds[3].intensity, 2);
    playFrame();
    EXPECT_EQ(s.diamonds[3].x, 320 + 46);
    EXPECT_EQ(s.diamonds[3].y, 534);
    EXPECT_EQ(s.diamonds[3].intensity, 254);
    EXPECT_EQ(s.score, 50);
}

TEST_F(Pickups, OpenDoorCompletesTheLevelAndLevelTwentyWinsTheGame) {
    startLevel(20);
    clearOrbs();
    s.diamondsCollected = 5;
    s.playerX = s.exitX;
    s.playerY = s.exitY;
    Screen reached = Screen::Play;
    playUntilScreenChanges(400, &reached);
    EXPECT_EQ(reached, Screen::GameOver);
    EXPECT_EQ(s.gameWon, 1);
    EXPECT_EQ(s.levelNumber, 21);
    EXPECT_EQ(media::windowTitle(0), " Quandrite - Game Over");
}

TEST_F(Pickups, CompletingALevelStartsTheNextWithTheLifeBonusFreed) {
    startLevel(3);
    clearOrbs();
    s.diamondsCollected = 5;
    s.lifeBonusUsed = 1;
    s.playerX = s.exitX;
    s.playerY = s.exitY;
    int32_t score = s.score;
    for (int i = 0; i < 200 && s.levelNumber == 3; ++i) playFrame();
    EXPECT_EQ(s.levelNumber, 4);
    EXPECT_EQ(s.lifeBonusUsed, 0);
    EXPECT_GT(s.score, score);  // a point for every frame on the open door
    EXPECT_EQ(media::windowTitle(0), " Quandrite - Level 4");
}
