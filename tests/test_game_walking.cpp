// SPDX-License-Identifier: MIT
// Walking: one direction a frame, bounds tested before the step, the walking
// pictures, and the pause after a pickup.
#include "game_fixture.h"
#include "media/keyboard.h"

using namespace game;
using testing_support::GameFixture;
namespace key = media::key;

class Walking : public GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        startLevel(1);
        clearOrbs();
        for (int k = 1; k <= 5; ++k) s.diamonds[k].x = -500;
    }
};

TEST_F(Walking, BoundIsTestedBeforeTheStep) {
    s.playerX = 943;
    s.playerSpeed = 4;
    hold({key::Right});
    playFrame();
    EXPECT_EQ(s.playerX, 947);
    hold({key::Left});
    playFrame();
    EXPECT_EQ(s.playerX, 947);  // 947 is past the left walk's bound of 946
    hold({key::Right});
    playFrame();
    EXPECT_EQ(s.playerX, 947);
    hold({key::Up});
    playFrame();
    EXPECT_EQ(s.playerY, 276);
}

TEST_F(Walking, TwoArrowsTogetherMoveNothingAndKeepTheLastPicture) {
    hold({key::Left});
    for (int i = 0; i < 30; ++i) playFrame();
    int x = s.playerX, y = s.playerY;
    uint8_t frame = s.playerFrame;
    hold({key::Right, key::Up});
    for (int i = 0; i < 5; ++i) playFrame();
    EXPECT_EQ(s.playerX, x);
    EXPECT_EQ(s.playerY, y);
    EXPECT_EQ(s.playerDirection, 2);
    EXPECT_EQ(s.playerFrame, frame);
    hold({});
    playFrame();
    EXPECT_EQ(s.playerFrame, 4);  // standing, facing left
    EXPECT_EQ(s.playerDirection, 0);
}

TEST_F(Walking, PicturesAlternateEveryTwelveFramesWithAStepSound) {
    hold({key::Down});
    std::vector<int> frames;
    for (int i = 0; i < 40; ++i) {
        playFrame();
        frames.push_back(s.playerFrame);
    }
    EXPECT_EQ(frames[0], 2);  // the first step already shows a walking picture
    EXPECT_EQ(frames[11], 2);
    EXPECT_EQ(frames[12], 3);
    EXPECT_EQ(frames[23], 3);
    EXPECT_EQ(frames[24], 2);
    EXPECT_EQ(frames[36], 3);
    EXPECT_EQ(soundPlays(1), 4);
    EXPECT_EQ(s.playerY, 280 + 2 * 40);
}

TEST_F(Walking, ReversedArrowsFaceTheKeyButMoveTheOtherWay) {
    s.arrowsReversed = 1;
    hold({key::Right});
    playFrame();
    EXPECT_EQ(s.playerX, 68);
    EXPECT_EQ(s.playerFrame, 11);
    EXPECT_EQ(s.playerDirection, 1);
    s.playerX = 52;
    playFrame();
    EXPECT_EQ(s.playerX, 52);  // only x >= 53 may step left
}

TEST_F(Walking, PlayerStandsStillFor130FramesAfterAPickup) {
    placeOrb(Silver, 1, s.playerX, s.playerY);
    hold({key::Right});
    playFrame();
    EXPECT_EQ(s.playerX, 72);
    EXPECT_EQ(s.pickupReady, 0);
    // The pickup's own frame is the first of the 130.
    for (int frame = 2; frame <= 130; ++frame) {
        playFrame();
        ASSERT_EQ(s.playerX, 72) << "frame " << frame;
    }
    EXPECT_EQ(s.pickupReady, 1);
    playFrame();
    EXPECT_EQ(s.playerX, 74);
    EXPECT_EQ(soundPlays(2), 1);
}

TEST_F(Walking, NoWalkingBeforeTheStartKeyWhichWaits121Milliseconds) {
    s.levelStarted = 0;
    hold({key::Left});
    playFrame();
    EXPECT_EQ(s.playerX, 70);
    hold({key::RightCtrl});
    playFrame();
    EXPECT_EQ(s.levelStarted, 1);
    EXPECT_EQ(clock.slept(), 121u);
}

TEST_F(Walking, EscapeLeavesForTheTitleAfter300Milliseconds) {
    hold({key::Escape});
    EXPECT_EQ(playFrame(), Screen::Title);
    EXPECT_EQ(clock.slept(), 300u);
}
