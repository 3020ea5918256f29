// SPDX-License-Identifier: MIT
// The game-over screen: the final score, the initials entry and the table.
#include <filesystem>

#include "game/screens/game_over.h"
#include "game_fixture.h"
#include "media/files.h"
#include "media/keyboard.h"
#include "media/window.h"

using namespace game;
using testing_support::GameFixture;
namespace key = media::key;

class GameOver : public GameFixture {
protected:
    void enter(int32_t score, int8_t won = 0) {
        s.score = score;
        s.gameWon = won;
        enterGameOver(s);
        draws.clear();
    }
    Screen frame() {
        draws.clear();
        return gameOverFrame(s);
    }
    // Holds the keys for one frame, then lets go for one frame.
    Screen press(std::vector<int> keys) {
        hold(keys);
        Screen next = frame();
        hold({});
        if (next == Screen::GameOver) next = frame();
        return next;
    }
    void setTable(std::initializer_list<int32_t> scores) {
        int row = 1;
        for (int32_t score : scores) {
            s.hiscoreScores[row] = score;
            s.hiscoreNames[row] = "r" + std::to_string(row);
            ++row;
        }
    }
    bool hiscoreFileExists() const { return std::filesystem::exists(media::resolveFileName("\\quandrite.dat")); }
};

TEST(HiscoreInsertion, TheTenTestsPlaceEqualScoresBelowExceptAtRowNine) {
    struct Case {
        int32_t score;
        int row;  // 0: the table stays as it was
    };
    // Default table: 550 500 450 400 350 300 250 200 150 100.
    const Case cases[] = {{100, 10}, {149, 10}, {150, 9}, {151, 9}, {200, 9},   {201, 8},
                          {450, 4},  {500, 3},  {550, 2}, {551, 1}, {99999, 1}, {99, 0}};
    for (const Case& c : cases) {
        GameState state;
        fillDefaultHiscores(state);
        GameState before = state;
        insertHiscore(state, c.score, "new");
        for (int row = 1; row <= 10; ++row) {
            if (c.row != 0 && row == c.row) {
                EXPECT_EQ(state.hiscoreScores[row], c.score);
                EXPECT_EQ(state.hiscoreNames[row], "new");
            } else {
                int from = c.row != 0 && row > c.row ? row - 1 : row;
                EXPECT_EQ(state.hiscoreScores[row], before.hiscoreScores[from]) << c.score << " row " << row;
                EXPECT_EQ(state.hiscoreNames[row], before.hiscoreNames[from]);
            }
        }
    }
}

TEST(HiscoreInsertion, AScoreEqualToTheNinthAndTenthReplacesTheTenth) {
    GameState state;
    for (int row = 1; row <= 10; ++row) {
        state.hiscoreNames[row] = "err";
        state.hiscoreScores[row] = 1000;
    }
    insertHiscore(state, 1000, "abc");
    EXPECT_EQ(state.hiscoreNames[10], "abc");
    EXPECT_EQ(state.hiscoreNames[9], "err");
    insertHiscore(state, 1001, "top");
    EXPECT_EQ(state.hiscoreNames[1], "top");
    EXPECT_EQ(state.hiscoreNames[10], "err");
    EXPECT_EQ(state.hiscoreScores[10], 1000);
}

TEST_F(GameOver, ScoreDigitsAreCentredOnTheTable) {
    // Digits are drawn from the last to the first; a half rounds to even.
    auto digitXs = [this](int32_t score) {
        enter(score);
        frame();
        std::vector<int> xs;
        for (const media::DrawCall& call : draws)
            if (call.y == 250) xs.push_back(call.x);
        return xs;
    };
    EXPECT_EQ(digitXs(7), std::vector<int>({506}));
    EXPECT_EQ(digitXs(42), std::vector<int>({513, 501}));
    EXPECT_EQ(digitXs(450), std::vector<int>({519, 507, 495}));
    EXPECT_EQ(digitXs(1234), std::vector<int>({525, 513, 501, 489}));
    EXPECT_EQ(digitXs(98765), std::vector<int>({531, 519, 507, 495, 483}));
    enter(123456);
    EXPECT_EQ(s.scoreText, "99999");
    enter(-5);
    EXPECT_EQ(s.scoreText, "0");
}

TEST_F(GameOver, PromptFadesInOverNinetyFrames) {
    enter(50);  // below the tenth score: the menu prompt
    std::vector<int> intensities;
    for (int i = 0; i < 100; ++i) {
        frame();
        intensities.push_back(findDraw(58)->intensity);
    }
    EXPECT_EQ(intensities[0], 0);
    EXPECT_LT(intensities[88], 249);
    EXPECT_EQ(intensities[89], 249);
    EXPECT_EQ(intensities[99], 249);
    EXPECT_EQ(drawsOf(57), 0);
}

TEST_F(GameOver, FiresOfAWonGameChangeEveryTenFramesAfterAnElevenFrameStart) {
    enter(50, 1);
    std::vector<int> fire;
    for (int i = 0; i < 45; ++i) {
        frame();
        fire.push_back(findDraw(158) ? 1 : findDraw(159) ? 2 : findDraw(160) ? 3 : findDraw(161) ? 4 : 5);
    }
    EXPECT_EQ(fire[10], 1);
    EXPECT_EQ(fire[11], 2);
    EXPECT_EQ(fire[20], 2);
    EXPECT_EQ(fire[21], 3);
    EXPECT_NE(findDraw(157), nullptr);
    EXPECT_EQ(findDraw(152), nullptr);
}

TEST_F(GameOver, NotQualifyingLeavesOnAnAcceptKeyWithoutSaving) {
    enter(99);
    hold({key::Space});
    EXPECT_EQ(frame(), Screen::Title);
    EXPECT_EQ(clock.slept(), 301u);
    EXPECT_FALSE(hiscoreFileExists());
}

TEST_F(GameOver, LetterAcceptLetterGivesTwoJoinedLettersAndSaves) {
    enter(100);  // equal to the tenth score: qualifies
    EXPECT_EQ(press({key::K}), Screen::GameOver);
    EXPECT_EQ(press({key::Return}), Screen::GameOver);
    EXPECT_EQ(s.initialsCount, 2);
    hold({key::Z});
    EXPECT_EQ(frame(), Screen::GameOver);
    hold({});
    EXPECT_EQ(frame(), Screen::Title);  // the complete entry shows 1302 ms, then saves
    EXPECT_EQ(s.hiscoreNames[10], "kz");
    EXPECT_EQ(s.hiscoreScores[10], 100);
    EXPECT_EQ(s.hiscoreNames[9], "quo");
    EXPECT_TRUE(hiscoreFileExists());
    EXPECT_EQ(clock.slept(), 199u * 3 + 1302 + 111 + 508);
    EXPECT_EQ(media::windowTitle(0), " Saving score...");
}

TEST_F(GameOver, HeldLetterFillsAllSlotsAndThreeAcceptsGiveAnEmptyName) {
    enter(500);
    hold({key::Q});
    frame();
    frame();
    frame();
    EXPECT_EQ(s.initials[1] + s.initials[2] + s.initials[3], "qqq");
    hold({});
    EXPECT_EQ(frame(), Screen::Title);
    EXPECT_EQ(s.hiscoreNames[3], "qqq");

    enter(500);
    hold({key::Escape});
    frame();
    frame();
    frame();
    EXPECT_EQ(s.initialsCount, 3);
    hold({});
    EXPECT_EQ(frame(), Screen::Title);
    EXPECT_EQ(s.hiscoreNames[3], "qqq");  // the equal score goes below it
    EXPECT_EQ(s.hiscoreNames[4], "");
}

TEST_F(GameOver, UnderscoresMarkTheOpenSlotsAndLettersTheFilledOnes) {
    enter(300);
    frame();
    EXPECT_EQ(drawsOf(56), 3);
    press({key::B});
    frame();
    EXPECT_EQ(drawsOf(56), 2);
    const media::DrawCall* letter = findDraw(31);
    ASSERT_NE(letter, nullptr);
    EXPECT_EQ(letter->x, 492);
    EXPECT_EQ(letter->y, 355);
}

TEST_F(GameOver, ClosingTheWindowDuringTheEntryEndsWithoutSaving) {
    enter(500);
    press({key::A});
    media::injectWindowEvent(media::kEventCloseWindow);
    EXPECT_EQ(frame(), Screen::Closed);
    EXPECT_FALSE(hiscoreFileExists());
}
