// SPDX-License-Identifier: MIT
// The time allowance, the wall that follows it, and the replay of a level.
#include "game/rules/pickups.h"
#include "game_fixture.h"
#include "media/keyboard.h"
#include "media/window.h"

using namespace game;
using testing_support::GameFixture;

class PlayTime : public GameFixture {
protected:
    // The volume last set for a sound, from the recorded calls.
    int volumeSetTo(int number) const {
        int percent = -1;
        for (const media::SoundCall& call : sounds)
            if (call.kind == media::SoundCall::Volume && call.number == number) percent = call.value;
        return percent;
    }
};

TEST_F(PlayTime, AllowanceFallsAPointAboutEveryTenFrames) {
    startLevel(1);
    clearOrbs();
    std::vector<int> percentAtFrame;  // indexed by levelFrames before the frame's count
    for (int frame = 0; frame <= 1000; ++frame) {
        playFrame();
        percentAtFrame.push_back(s.timePercent);
    }
    for (int frame = 0; frame <= 5; ++frame) EXPECT_EQ(percentAtFrame[frame], 100) << frame;
    EXPECT_EQ(percentAtFrame[6], 99);
    EXPECT_EQ(percentAtFrame[595], 41);
    EXPECT_EQ(percentAtFrame[596], 40);
    EXPECT_EQ(percentAtFrame[895], 11);
    EXPECT_EQ(percentAtFrame[896], 10);
    EXPECT_EQ(percentAtFrame[995], 1);
    EXPECT_EQ(percentAtFrame[996], 0);
    EXPECT_EQ(percentAtFrame[1000], 0);
}

TEST_F(PlayTime, TimeStandsStillBeforeTheStartKeyAndWarnsTenFramesAt40And10) {
    startLevel(1, false);
    clearOrbs();
    for (int i = 0; i < 50; ++i) playFrame();
    EXPECT_EQ(s.levelFrames, 0);
    EXPECT_EQ(s.timePercent, 100);

    s.levelStarted = 1;
    s.levelFrames = 590;
    sounds.clear();
    for (int i = 0; i < 20; ++i) playFrame();
    EXPECT_EQ(soundPlays(5), 10);
    EXPECT_EQ(volumeSetTo(5), 7);

    s.levelFrames = 890;
    sounds.clear();
    for (int i = 0; i < 20; ++i) playFrame();
    EXPECT_EQ(soundPlays(5), 10);
    EXPECT_EQ(volumeSetTo(5), 59);
}

TEST_F(PlayTime, WallNeeds953FramesAtLevelOneKillsAndRespawnsOnTheRight) {
    startLevel(1);
    clearOrbs();
    s.lives = 5;
    s.levelFrames = 996;
    playFrame();
    ASSERT_EQ(s.timePercent, 0);
    EXPECT_EQ(s.wallX, 1);
    EXPECT_EQ(s.backgroundIntensity, 200);

    // The wall's right edge passes the player's left edge at x 70.
    while (s.playerDying == 0) playFrame();
    EXPECT_EQ(s.wallX, 24);  // touched at x 23, then moved on in the same frame
    EXPECT_EQ(s.lives, 4);
    EXPECT_EQ(s.lifeBonusUsed, 1);
    int deathFrames = 0;
    while (s.playerDying == 1) {
        playFrame();
        ++deathFrames;
    }
    EXPECT_EQ(deathFrames, 126);  // 127 with the frame of the touch
    EXPECT_EQ(s.playerX, 910);
    EXPECT_EQ(s.playerY, 280);

    int32_t scoreBefore = 0;
    int frames = s.wallX;
    while (s.wallX != 0 && frames < 2000) {
        scoreBefore = s.score;
        playFrame();
        ++frames;
    }
    EXPECT_EQ(frames, 953);  // replayed on the frame the wall reached x 953
    EXPECT_EQ(s.levelNumber, 1);
    EXPECT_EQ(s.levelFrames, 0);
    EXPECT_EQ(s.lives, 3);  // caught again on the right before the end
    EXPECT_EQ(s.playerDying, 0);
    EXPECT_EQ(s.score, scoreBefore);
    EXPECT_EQ(clock.slept(), 421u);
}

TEST_F(PlayTime, WallSpeedGrowsWithTheLevelGroup) {
    for (int level : {5, 6, 11, 16}) {
        startLevel(level);
        clearOrbs();
        s.lives = 9;
        s.levelFrames = 996;
        playFrame();
        playFrame();
        EXPECT_EQ(s.wallX, 2 * ((level - 1) / 5 + 1)) << "level " << level;
    }
}
