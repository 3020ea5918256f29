// SPDX-License-Identifier: MIT
// What the port draws over the original's frames and the way out of the
// title: the start prompt of a level waiting for its start key, and Escape
// twice on the title.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "game/port/game.h"
#include "game/port/leave_controls.h"
#include "game/rules/catalogue.h"
#include "game_fixture.h"
#include "media/automation.h"
#include "media/device_keys.h"
#include "media/gamepad.h"
#include "media/keyboard.h"
#include "media/screen.h"
#include "media/test_hooks.h"

namespace {

using game::Screen;
using namespace media;
namespace sprite = game::sprite;

constexpr int kStatusBarTop = 527;

class PortCaptions : public testing_support::WholeGame {
protected:
    PortCaptions() : WholeGame(99) {}
    void beforeStartUp() override { injectKeys({}); }
    // One frame, with what it drew.
    std::vector<DrawCall> frame(std::vector<int> gameKeys = {}) {
        std::vector<DrawCall> drawn;
        injectKeys(gameKeys);
        setDrawLog(&drawn);
        game.runFrame();
        setDrawLog(nullptr);
        return drawn;
    }
    // A press of a key on the keyboard itself, one frame down.
    std::vector<DrawCall> press(int code) {
        deviceKeys = {code};
        std::vector<DrawCall> drawn = frame();
        deviceKeys.clear();
        return drawn;
    }
    static const DrawCall* find(const std::vector<DrawCall>& drawn, int number) {
        auto it = std::find_if(drawn.begin(), drawn.end(), [number](const DrawCall& d) { return d.sprite == number; });
        return it == drawn.end() ? nullptr : &*it;
    }
    void intoWaitingLevel() {
        frame({key::Return});
        ASSERT_EQ(game.screen(), Screen::Play);
        frame();
        ASSERT_EQ(game.state.levelStarted, 0);
    }
};

TEST_F(PortCaptions, TheStartPromptStaysUntilTheLevelStartsAndNeverCoversTheStatusBar) {
    EXPECT_EQ(find(frame(), sprite::StartLevelPrompt), nullptr) << "not on the title";
    intoWaitingLevel();
    for (int i = 0; i < 100; ++i) {
        std::vector<DrawCall> drawn = frame();
        const DrawCall* prompt = find(drawn, sprite::StartLevelPrompt);
        ASSERT_NE(prompt, nullptr) << "frame " << i << " of the wait";
        EXPECT_LE(prompt->y + spriteHeight(prompt->sprite), kStatusBarTop);
        EXPECT_NEAR(prompt->x + spriteWidth(prompt->sprite) / 2, kScreenWidth / 2, 1);
        EXPECT_EQ(&drawn.back(), prompt) << "drawn over the whole frame";
    }
    frame({key::Space});
    ASSERT_EQ(game.state.levelStarted, 1);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(find(frame({key::Right}), sprite::StartLevelPrompt), nullptr);
}

TEST_F(PortCaptions, WithHintsOffTheWaitingLevelIsTheOriginalsPicture) {
    intoWaitingLevel();
    std::vector<DrawCall> withHints = frame();
    ASSERT_FALSE(withHints.empty());
    EXPECT_EQ(withHints.back().sprite, sprite::StartLevelPrompt);
    game.showHints(false);
    for (int i = 0; i < 30; ++i) {
        for (const DrawCall& call : frame()) ASSERT_LT(call.sprite, 988) << "none of the port's own pictures";
    }
    EXPECT_EQ(game.state.levelStarted, 0) << "the level still waits";
}

TEST_F(PortCaptions, ThePromptNamesThePadsButtonWhenThePadWasUsedLast) {
    // The devices themselves, keyboard and pad, with no keys put in their place.
    setKeyboardSource(nullptr);
    auto deviceFrame = [this] {
        std::vector<DrawCall> drawn;
        setDrawLog(&drawn);
        game.runFrame();
        setDrawLog(nullptr);
        return drawn;
    };
    setVirtualGamepad(GamepadState{PadA});
    for (int i = 0; i < 10 && game.screen() == Screen::Title; ++i) deviceFrame();
    setVirtualGamepad(GamepadState{});
    ASSERT_EQ(game.screen(), Screen::Play) << "A started the game";
    std::vector<DrawCall> drawn = deviceFrame();
    ASSERT_EQ(game.state.levelStarted, 0);
    EXPECT_NE(find(drawn, sprite::StartLevelPadPrompt), nullptr) << "PRESS A TO START THE LEVEL";
    EXPECT_EQ(find(drawn, sprite::StartLevelPrompt), nullptr);
    deviceKeys = {key::Left};
    deviceFrame();
    deviceKeys.clear();
    EXPECT_NE(find(deviceFrame(), sprite::StartLevelPrompt), nullptr) << "the keyboard again: PRESS SPACE";
}

TEST_F(PortCaptions, EscapeOnTheTitleAsksOnceAndASecondEscapeWithinTwoSecondsQuits) {
    frame();
    EXPECT_NE(find(press(key::Escape), sprite::QuitPrompt), nullptr) << "PRESS ESCAPE AGAIN TO QUIT";
    EXPECT_EQ(game.screen(), Screen::Title);
    for (int i = 1; i < game::kQuitPromptFrames; ++i) ASSERT_NE(find(frame(), sprite::QuitPrompt), nullptr) << i;
    EXPECT_EQ(find(frame(), sprite::QuitPrompt), nullptr) << "gone after two seconds";
    EXPECT_EQ(game.screen(), Screen::Title);

    press(key::Escape);
    EXPECT_EQ(game.screen(), Screen::Title) << "a late second Escape asks again";
    frame();
    frame();
    press(key::Escape);
    EXPECT_EQ(game.screen(), Screen::Closed) << "the second Escape in time quits as the close box does";
}

TEST_F(PortCaptions, EscapeInALevelStillLeavesItAtOnce) {
    intoWaitingLevel();
    frame({key::Space});
    frame({key::Escape});
    EXPECT_EQ(game.screen(), Screen::Title);
    EXPECT_EQ(find(frame(), sprite::QuitPrompt), nullptr) << "the level's Escape asks nothing on the title";
}

}  // namespace
