// SPDX-License-Identifier: MIT
#pragma once
// A game in a test: the layer runs headless with a virtual clock, the
// sprites have the sizes of the game's pictures but no pixels (collisions
// only need the sizes), and every draw and sound call is recorded.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

#include "core/clock.h"
#include "game/port/game.h"
#include "game/rules/game_state.h"
#include "media/test_hooks.h"
#include "test_support.h"

namespace testing_support {

class GameFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The state the game's start-up makes, before the hiscore file is read.
    void startFreshState();
    // A new game on level n with the start key already pressed.
    void startLevel(int level, bool started = true);
    // Keys held down from now on (DirectInput codes); none when empty.
    void hold(std::vector<int> keys);
    // Runs one play-loop frame and returns the screen it leads to.
    game::Screen playFrame();
    // Runs play-loop frames until the screen changes or `limit` frames passed;
    // gives the number of frames run.
    int playUntilScreenChanges(int limit, game::Screen* reached = nullptr);
    // Removes every orb of the level so a test can place its own.
    void clearOrbs();
    void placeOrb(int group, int i, int x, int y);
    int drawsOf(int sprite) const;
    const media::DrawCall* findDraw(int sprite, int nth = 0) const;
    int soundPlays(int number) const;

    ScratchDir dataHome;  // XDG_DATA_HOME: the hiscore file goes here
    ScopedEnv dataHomeSet{"XDG_DATA_HOME", dataHome.path().c_str()};
    game::GameState s{};
    core::VirtualClock clock;
    std::vector<media::DrawCall> draws;
    std::vector<media::SoundCall> sounds;
};

// A whole game in a test, from its own start-up: headless, with a data
// folder of its own, a virtual clock, no frame pacing, a fixed seed, and the
// device keyboard holding `deviceKeys`. Every hook a test may set (logs,
// keyboards, focus, a virtual pad, the clock) is reset when it ends.
class WholeGame : public ::testing::Test {
protected:
    explicit WholeGame(uint32_t seed) : seed_(seed) {}
    void SetUp() override;
    void TearDown() override;
    // What a fixture sets up before the game starts (a keyboard observer, say).
    virtual void beforeStartUp() {}

    ScratchDir dataHome;
    core::VirtualClock clock;
    std::set<int> deviceKeys;
    game::Game game;

private:
    uint32_t seed_;
};

// Sprites without pixels with the sizes of every picture of the catalogue.
void createSizedSprites();

}  // namespace testing_support
