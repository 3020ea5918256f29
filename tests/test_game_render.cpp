// SPDX-License-Identifier: MIT
// What a level frame shows: the status bar's figures and where they stand.
#include "game/rules/scoring.h"
#include "game/screens/level_render.h"
#include "game/screens/number_text.h"
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

TEST_F(LevelFrame, LayersComeInTheirFixedOrderWithTheirPlacesAndOpacities) {
    clearOrbs();
    placeOrb(1, 1, 200, 150);
    placeOrb(2, 1, 300, 250);
    s.orbs[1].label[1] = 77;
    s.backgroundIndex = 5;
    s.backgroundIntensity = 90;
    s.timePercent = 39;
    s.diamondsCollected = 5;
    s.playerSpeed = 4;
    s.powerUpDigitText = std::string("7");
    s.lives = 2;
    s.levelText = std::string("3");
    s.timeText = std::string("39");
    s.scoreText = std::string("120");
    s.score = 120;
    s.recordDistance = 0;
    s.percentText = std::string("5");
    s.hallOfFamePercent = 5;
    s.rankPosition = 0;
    s.bannerX = 100;
    s.playerDying = 0;
    draw();

    std::vector<int> want = {126};
    for (int set = 1; set <= 4; ++set)
        for (int j = 1; j <= 4; ++j) want.push_back(700 + set);
    // Number texts are drawn from their last character back to the first.
    for (int sprite : {16, 16, 17, 120, 18, 19, 14, 108, 110, 107, 121, 27, 66,
                       66, 23, 29, 23,  20, 22, 21, 65,  25,  64,  62,  65, int(s.playerFrame)})
        want.push_back(sprite);
    for (int k = 1; k <= 5; ++k) {
        want.push_back(67 + 8 * (k - 1) + (s.diamonds[k].frame - 1));
        want.push_back(113);
    }
    want.push_back(154);
    want.push_back(23);
    std::vector<int> got;
    for (const media::DrawCall& call : draws) got.push_back(call.sprite);
    EXPECT_EQ(got, want);

    auto at = [&](int sprite, int nth = 0) {
        const media::DrawCall* call = findDraw(sprite, nth);
        return call ? std::vector<int>{call->x, call->y, call->intensity} : std::vector<int>{};
    };
    EXPECT_EQ(at(126), std::vector<int>({s.backgroundOriginX - s.playerX, s.backgroundOriginY - s.playerY, 90}));
    EXPECT_EQ(at(701), std::vector<int>({s.bubbles[1].x[1], s.bubbles[1].y[1], 249}));
    EXPECT_EQ(at(16, 1), std::vector<int>({0, 479, 255}));
    EXPECT_EQ(at(17), std::vector<int>({1002, -2, 255}));
    EXPECT_EQ(at(120), std::vector<int>({s.exitX, s.exitY, 254}));
    EXPECT_EQ(at(18), std::vector<int>({0, 527, 40}));
    EXPECT_EQ(at(19), std::vector<int>({42, 572, 255}));
    EXPECT_EQ(at(14), std::vector<int>({s.wallX, 49, 255}));
    EXPECT_EQ(at(108), std::vector<int>({200, 150, 254}));
    EXPECT_EQ(at(110), std::vector<int>({211, 168, 77}));
    EXPECT_EQ(at(121), std::vector<int>({s.exitX + s.exitArrowDX, s.exitY + s.exitArrowDY, 254}));
    EXPECT_EQ(at(66), std::vector<int>({43, 539, 230}));
    EXPECT_EQ(at(62), std::vector<int>({870, 541, 205}));
    EXPECT_EQ(at(65), std::vector<int>({665, 544, 215}));
    EXPECT_EQ(at(65, 1), std::vector<int>({955, 540, 215}));
    EXPECT_EQ(at(154), std::vector<int>({100, 257, 255}));
    const Diamond& first = s.diamonds[1];
    EXPECT_EQ(at(113), std::vector<int>({first.x - 3, first.y + 11, int(first.labelIntensity)}));
    // Score digits from the last back to the first, 12 apart, shifted 5 left per digit.
    std::vector<int> scoreXs;
    for (const media::DrawCall& call : draws)
        if (call.y == 548 && (call.sprite == 20 || call.sprite == 21 || call.sprite == 22)) scoreXs.push_back(call.x);
    EXPECT_EQ(scoreXs, std::vector<int>({523, 511, 499}));
}
