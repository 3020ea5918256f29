// SPDX-License-Identifier: MIT
// A whole game played with a gamepad alone: the pad is plugged into the
// layer (as a virtual pad, headless) and the real game loop reads it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "game/port/game.h"
#include "game/rules/catalogue.h"
#include "game/screens/hiscores.h"
#include "game_fixture.h"
#include "media/gamepad.h"
#include "media/keyboard.h"
#include "media/test_hooks.h"

namespace {

using game::Screen;
using namespace media;

class GamepadGame : public testing_support::WholeGame {
protected:
    GamepadGame() : WholeGame(12345) {}
    // Holds the pad in this state for n frames.
    void hold(GamepadState pad, int frames = 1) {
        setVirtualGamepad(pad);
        for (int i = 0; i < frames; ++i) game.runFrame();
    }
    // A button pressed for one frame and let go for one.
    void tap(uint32_t buttons) {
        hold({buttons});
        hold({});
    }
    // Holds the pad until the game reaches `screen`; false after `limit` frames.
    bool holdUntil(GamepadState pad, Screen screen, int limit) {
        setVirtualGamepad(pad);
        for (int i = 0; i < limit && game.screen() != screen; ++i) game.runFrame();
        return game.screen() == screen;
    }
};

TEST_F(GamepadGame, StartWalkDieAndLeaveTheNameEmptyWithThePadAlone) {
    game::GameState& s = game.state;
    ASSERT_EQ(game.screen(), Screen::Title);
    hold({}, 5);
    EXPECT_EQ(game.screen(), Screen::Title) << "a plugged-in pad at rest does nothing";

    const int8_t soundBefore = s.soundOn;
    tap(PadY);
    EXPECT_NE(s.soundOn, soundBefore) << "Y is the sound switch";
    tap(PadY);
    EXPECT_EQ(s.soundOn, soundBefore);

    ASSERT_TRUE(holdUntil({PadStart}, Screen::Play, 10)) << "Start starts a game";
    hold({});
    EXPECT_EQ(s.levelNumber, 1);
    EXPECT_EQ(s.levelStarted, 0);
    const int startX = s.playerX;
    hold({PadLeft}, 3);
    EXPECT_EQ(s.playerX, startX) << "no walking before the start key";
    tap(PadA);
    ASSERT_EQ(s.levelStarted, 1) << "A starts the level";

    hold({0, kGamepadDeadZone, 0}, 20);
    EXPECT_EQ(s.playerX, startX) << "a stick inside the dead zone stands still";
    hold({0, 30000, 0}, 20);
    EXPECT_GT(s.playerX, startX) << "the stick walks";
    const int stickX = s.playerX;
    hold({PadLeft}, 20);
    EXPECT_LT(s.playerX, stickX) << "the D-pad walks";

    // The end of a long game: the last life and a score for the table; a
    // skull waits a few steps to the right.
    s.lives = 1;
    s.score = 500;
    for (auto& group : s.orbs) group.count = 0;
    game::OrbGroup& skulls = s.orbs[game::Skull];
    skulls.count = 1;
    skulls.x[1] = s.playerX + 40;
    skulls.y[1] = s.playerY;
    skulls.opacity[1] = 254;
    skulls.taken[1] = 0;
    ASSERT_TRUE(holdUntil({PadRight}, Screen::GameOver, 600)) << "walking into the skull ends the game";
    EXPECT_EQ(s.lives, 0);

    hold({});
    tap(PadY);
    EXPECT_EQ(s.initialsCount, 0) << "Y types no letter";

    // Up and down choose the open slot's letter, shown where the underscore was.
    std::vector<DrawCall> drawn;
    auto letterShownInSlot = [&](int slot) {
        for (const DrawCall& call : drawn)
            if (call.x == 492 + 14 * (slot - 1) && call.y == 355) return char('a' + call.sprite - 30);
        return '_';
    };
    setDrawLog(&drawn);
    hold({});
    setDrawLog(nullptr);
    EXPECT_EQ(letterShownInSlot(1), 'a') << "the choice starts at a";
    tap(PadUp);
    tap(PadUp);
    hold({0, 0, -30000});
    hold({});
    drawn.clear();
    setDrawLog(&drawn);
    hold({});
    setDrawLog(nullptr);
    EXPECT_EQ(letterShownInSlot(1), 'd') << "D-pad and stick step up";
    EXPECT_EQ(s.initialsCount, 0) << "choosing types nothing";
    // Chosen, not typed: dimmed, over the slot's underscore.
    for (const DrawCall& call : drawn) {
        if (call.x == 492 && call.y == 355) {
            EXPECT_LT(call.intensity, 200) << "the chosen letter is dimmed";
        }
    }
    EXPECT_TRUE(std::any_of(drawn.begin(), drawn.end(), [](const DrawCall& call) {
        return call.sprite == game::sprite::Underscore && call.x == 492;
    })) << "and the underscore stays under it";
    tap(PadA);
    ASSERT_EQ(s.initialsCount, 1) << "A takes the letter";
    EXPECT_EQ(s.initials[1], "d");
    tap(PadDown);
    drawn.clear();
    setDrawLog(&drawn);
    hold({});
    setDrawLog(nullptr);
    EXPECT_EQ(letterShownInSlot(2), 'c') << "the next slot starts at the letter before, and down steps back";
    tap(PadA);
    EXPECT_EQ(s.initials[2], "c");
    tap(PadB);
    ASSERT_TRUE(holdUntil({}, Screen::Title, 10)) << "B leaves the third slot empty and completes the entry";

    game::GameState saved{};
    game::loadHiscores(saved);
    int row = 1;
    while (row <= 10 && !(saved.hiscoreScores[row] == 500 && saved.hiscoreNames[row] == "dc")) ++row;
    EXPECT_LE(row, 10) << "500 points for dc are in the saved table";

    ASSERT_TRUE(holdUntil({PadStart}, Screen::Play, 10)) << "and the pad starts the next game";
    hold({});
    hold({PadB}, 5);
    EXPECT_EQ(game.screen(), Screen::Play) << "B does nothing in a level";
    tap(PadBack);
    EXPECT_EQ(game.screen(), Screen::Play) << "nor does a short press of Back";
    hold({PadBack}, game::kBackHoldFrames - 1);
    EXPECT_EQ(game.screen(), Screen::Play) << "Back must be held for a second";
    hold({PadBack});
    EXPECT_EQ(game.screen(), Screen::Title) << "held for a second, Back leaves to the title like Escape";
    hold({PadBack}, game::kBackHoldFrames + 5);
    EXPECT_EQ(game.screen(), Screen::Title) << "the same hold goes on to nothing until Back is let go";
    hold({});
    hold({PadBack}, game::kBackHoldFrames);
    EXPECT_EQ(game.screen(), Screen::Closed) << "on the title, Back held for a second quits";
}

// The bar that fills while Back is held is drawn over the frame, growing
// with the hold, and goes when Back is let go.
TEST_F(GamepadGame, TheHoldBarFillsWhileBackIsHeld) {
    ASSERT_TRUE(holdUntil({PadStart}, Screen::Play, 10));
    hold({});
    std::vector<DrawCall> drawn;
    auto columnsDrawn = [&] {
        int columns = 0;
        for (const DrawCall& d : drawn) columns += d.sprite == game::sprite::HoldBarColumn;
        return columns;
    };
    setDrawLog(&drawn);
    hold({PadBack}, 15);
    int quarter = columnsDrawn();
    drawn.clear();
    hold({PadBack}, 15);
    int half = columnsDrawn();
    drawn.clear();
    hold({});
    setDrawLog(nullptr);
    EXPECT_GT(quarter, 0);
    EXPECT_GT(half, quarter) << "the bar grows with the hold";
    EXPECT_EQ(columnsDrawn(), 0) << "let go, the bar is gone";
}

}  // namespace
