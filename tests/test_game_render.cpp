// What a level frame shows: the status bar's figures and where they stand.
#include "game/level_render.h"
#include "game/number_text.h"
#include "game/scoring.h"
#include "game_fixture.h"

using namespace game;
using testing_support::GameFixture;

class LevelFrame : public GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        startLevel(1);
    }
    void draw() {
        draws.clear();
        drawLevelFrame(s);
    }
    std::vector<int> xsOf(int sprite) const {
        std::vector<int> xs;
        for (const media::DrawCall& call : draws)
            if (call.sprite == sprite) xs.push_back(call.x);
        return xs;
    }
};

TEST_F(LevelFrame, HeartsOneLifeCentredAndAtMostFive) {
    s.lives = 1;
    draw();
    EXPECT_EQ(xsOf(66), std::vector<int>({53}));
    s.lives = 5;
    draw();
    EXPECT_EQ(xsOf(66), std::vector<int>({13, 37, 61, 85, 109}));
    s.lives = 7;
    draw();
    EXPECT_EQ(xsOf(66), std::vector<int>({11, 35, 59, 83, 107}));
    s.lives = 0;
    draw();
    EXPECT_TRUE(xsOf(66).empty());
}

TEST_F(LevelFrame, PercentSignFollowsTheDigits) {
    s.score = 100;
    updateHiscoreFigures(s);
    EXPECT_EQ(s.hallOfFamePercent, 100);
    draw();
    EXPECT_EQ(findDraw(64)->x, 852);
    s.score = 5;  // 5 % of the tenth score, 100
    updateHiscoreFigures(s);
    draw();
    EXPECT_EQ(findDraw(64)->x, 828);
    EXPECT_EQ(findDraw(64)->colour, kWhite);
}

TEST_F(LevelFrame, CentredNumbersRoundHalvesToEven) {
    // Assigned as std::string: GCC 12 warns falsely (-Wrestrict) on a literal here.
    s.levelText = std::string("7");
    s.timeText = std::string("100");
    draw();
    // Level: one digit at 166 (166.5 rounded to even); time: three digits.
    EXPECT_EQ(findDraw(27)->x, 166);
    std::vector<int> timeXs;
    for (const media::DrawCall& call : draws)
        if ((call.sprite == 21 || call.sprite == 20) && call.y == 548) timeXs.push_back(call.x);
    EXPECT_EQ(timeXs, std::vector<int>({264, 252, 240}));
}

TEST_F(LevelFrame, BannerShowsTheLevelNumberBesideTheWord) {
    s.levelText = std::string("12");
    s.bannerX = 300;
    draw();
    const media::DrawCall* one = nullptr;
    const media::DrawCall* two = nullptr;
    for (const media::DrawCall& call : draws) {
        if (call.y != 257) continue;
        if (call.sprite == 21) one = &call;
        if (call.sprite == 22) two = &call;
    }
    ASSERT_TRUE(one && two);
    EXPECT_EQ(one->x, 300 + 67);
    EXPECT_EQ(two->x, 300 + 79);
    s.bannerX = 1000;
    draw();
    EXPECT_EQ(drawsOf(154), 0);
}

TEST_F(LevelFrame, RecordDistanceAndRankShowADashWhenThereIsNoFigure) {
    s.score = 600;  // beats the best default score, 550
    updateHiscoreFigures(s);
    limitScoreAndMakeTexts(s);
    EXPECT_EQ(s.rankPosition, 1);
    draw();
    const media::DrawCall* dash = findDraw(65);
    ASSERT_NE(dash, nullptr);
    EXPECT_EQ(dash->x, 665);
    EXPECT_EQ(dash->y, 544);
    EXPECT_EQ(findDraw(62)->x, 870);  // thumb up

    s.score = 0;
    updateHiscoreFigures(s);
    limitScoreAndMakeTexts(s);
    EXPECT_EQ(s.hallOfFamePercent, 0);
    EXPECT_EQ(s.rankPosition, 0);
    draw();
    EXPECT_EQ(findDraw(65)->x, 955);
    EXPECT_NE(findDraw(63), nullptr);  // thumb down
}

TEST_F(LevelFrame, DyingShowsTheBurstHigherAndPlaysTheSoundOnItsFirstPicture) {
    s.playerDying = 1;
    s.burstIntensity = 252;
    s.burstFrame = 0;
    draw();
    EXPECT_EQ(drawsOf(s.playerFrame), 0);
    EXPECT_EQ(drawsOf(114) + drawsOf(115) + drawsOf(116), 0);
    s.burstFrame = 1;
    draw();
    const media::DrawCall* burst = findDraw(114);
    ASSERT_NE(burst, nullptr);
    EXPECT_EQ(burst->y, s.playerY - 6);
    EXPECT_EQ(burst->intensity, 252);
    EXPECT_EQ(soundPlays(3), 1);
    draw();
    EXPECT_EQ(soundPlays(3), 1);
}

TEST_F(LevelFrame, PowerUpDigitOnlyForSpeedOrReversedArrows) {
    s.powerUpActive = 1;
    s.powerUpDigitText = std::string("7");
    draw();
    EXPECT_EQ(drawsOf(27), 0);  // a heart's power-up shows no digit
    s.playerSpeed = 3;
    draw();
    const media::DrawCall* digit = findDraw(27);
    ASSERT_NE(digit, nullptr);
    EXPECT_EQ(digit->x, s.playerX + 24);
    EXPECT_EQ(digit->y, s.playerY - 13);
}

TEST_F(LevelFrame, HallOfFameTreatsATenthScoreOfZeroAsBeaten) {
    s.hiscoreScores[10] = 0;
    s.score = 0;
    updateHiscoreFigures(s);
    EXPECT_EQ(s.hallOfFamePercent, 100);
    s.hiscoreScores[10] = 200;
    s.score = 1;  // 0.5 % rounds half away from zero
    updateHiscoreFigures(s);
    EXPECT_EQ(s.hallOfFamePercent, 1);
}
