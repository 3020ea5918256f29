// SPDX-License-Identifier: MIT
// Scenes: the game brought straight to a late level or the game-over screen,
// as benchmarks and pictures of screens need it.
#include <gtest/gtest.h>

#include <vector>

#include "game/port/scenes.h"
#include "game/rules/catalogue.h"
#include "game_fixture.h"
#include "media/keyboard.h"
#include "media/test_hooks.h"

namespace {

using game::Scene;
using game::Screen;

TEST(SceneNames, AreReadAndOthersRefused) {
    Scene scene;
    ASSERT_TRUE(game::parseScene("level17", scene));
    EXPECT_EQ(scene.screen, Screen::Play);
    EXPECT_EQ(scene.level, 17);
    ASSERT_TRUE(game::parseScene("level1", scene));
    EXPECT_EQ(scene.level, 1);
    ASSERT_TRUE(game::parseScene("level20", scene));
    EXPECT_EQ(scene.level, 20);
    ASSERT_TRUE(game::parseScene("gameover", scene));
    EXPECT_EQ(scene.screen, Screen::GameOver);
    ASSERT_TRUE(game::parseScene("title", scene));
    EXPECT_EQ(scene.screen, Screen::Title);
    for (const char* wrong : {"", "level", "level0", "level21", "level01", "level1x", "level-3", "Level5", "won"})
        EXPECT_FALSE(game::parseScene(wrong, scene)) << wrong;
}

class Scenes : public testing_support::WholeGame {
protected:
    Scenes() : WholeGame(5) {}
    void run(int frames) {
        for (int i = 0; i < frames; ++i) game.runFrame();
    }
};

TEST_F(Scenes, ALevelIsANewGameAlreadyStartedOnThatLevel) {
    // What a new game started from the title gives.
    deviceKeys = {media::key::Space};
    for (int i = 0; i < 600 && game.screen() != Screen::Play; ++i) game.runFrame();
    ASSERT_EQ(game.screen(), Screen::Play);
    ASSERT_EQ(game.state.levelNumber, 1);
    const game::GameState fresh = game.state;
    deviceKeys.clear();
    Scene scene;
    ASSERT_TRUE(game::parseScene("level17", scene));
    game::enterScene(game, scene);
    EXPECT_EQ(game.screen(), Screen::Play);
    EXPECT_EQ(game.state.levelNumber, 17);
    EXPECT_EQ(game.state.levelStarted, 1);
    EXPECT_EQ(game.state.score, fresh.score);
    EXPECT_EQ(game.state.lives, fresh.lives);
    // No start key: the time runs and the girl walks at once.
    const int x = game.state.playerX;
    const int frames = game.state.levelFrames;
    deviceKeys = {media::key::Right};
    run(30);
    EXPECT_EQ(game.screen(), Screen::Play);
    EXPECT_EQ(game.state.levelNumber, 17);
    EXPECT_GT(game.state.playerX, x);
    EXPECT_GT(game.state.levelFrames, frames);
}

TEST_F(Scenes, TheGameOverSceneIsALostGame) {
    Scene scene;
    ASSERT_TRUE(game::parseScene("gameover", scene));
    game::enterScene(game, scene);
    EXPECT_EQ(game.screen(), Screen::GameOver);
    std::vector<media::DrawCall> drawn;
    media::setDrawLog(&drawn);
    run(1);
    media::setDrawLog(nullptr);
    bool lost = false, won = false;
    for (const media::DrawCall& draw : drawn) {
        lost = lost || draw.sprite == game::sprite::GameOverCaption;
        won = won || draw.sprite == game::sprite::Congratulations;
    }
    EXPECT_TRUE(lost);
    EXPECT_FALSE(won);
}

}  // namespace
